#include "core/browse/FoldersFile.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/browse/FavouriteFolders.h"
#include "core/io/AtomicFile.h"
#include "core/io/InputFile.h"
#include "core/io/PathText.h"
#include "core/io/StoredText.h"

namespace pr {

namespace {
const uint8_t kBom[3] = {0xEF, 0xBB, 0xBF};
}  // namespace

bool FoldersFileParser::feed(const uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (folders_.size() >= kMaxFavouriteFolders) return false;
        const uint8_t b = data[i];
        if (atStart_) {
            // The BOM may arrive split over several feeds; a partial match is ordinary text.
            // Every leading BOM goes, not only the first: a line kept starting with U+FEFF would
            // be written back at the start of the file and lost as a BOM at the next reading.
            if (b == kBom[bomSeen_]) {
                if (++bomSeen_ == 3) bomSeen_ = 0;
                continue;
            }
            atStart_ = false;
            for (uint8_t k = 0; k < bomSeen_; ++k) {
                line_ += static_cast<char>(kBom[k]);
                lineOpen_ = true;
            }
        }
        if (b == '\n' && afterCr_) {
            afterCr_ = false;
            continue;
        }
        afterCr_ = false;
        if (b == '\r' || b == '\n') {
            afterCr_ = b == '\r';
            endLine();
            continue;
        }
        lineOpen_ = true;
        if (lineUnusable_) continue;
        if (b == 0 || line_.size() >= kMaxFavouriteFolderBytes) {
            lineUnusable_ = true;
            line_.clear();
            line_.shrink_to_fit();
            continue;
        }
        line_ += static_cast<char>(b);
    }
    return folders_.size() < kMaxFavouriteFolders;
}

void FoldersFileParser::endLine() {
    if (!lineUnusable_ && folders_.size() < kMaxFavouriteFolders) {
        std::string folder = decodeStoredText(line_);
        // Windows-1252 letters grow to two or three bytes in UTF-8; the limit holds for what
        // will be written back.
        // The same test as for a folder the program adds, so that what is read is always
        // written back and read again unchanged.
        if (isStorableFavourite(folder)) folders_.push_back(std::move(folder));
    }
    line_.clear();
    lineUnusable_ = false;
    lineOpen_ = false;
}

void FoldersFileParser::dropOpenLine() {
    line_.clear();
    lineUnusable_ = false;
    lineOpen_ = false;
    atStart_ = false;
    bomSeen_ = 0;
}

std::vector<std::string> FoldersFileParser::finish() {
    if (atStart_ && bomSeen_ > 0) {
        // A file that is only the beginning of a BOM: those bytes are the one line it holds.
        line_.assign(reinterpret_cast<const char*>(kBom), bomSeen_);
        lineOpen_ = true;
    }
    atStart_ = false;
    if (lineOpen_) endLine();
    return std::move(folders_);
}

std::vector<std::string> parseFoldersFile(const uint8_t* data, std::size_t size) {
    FoldersFileParser parser;
    parser.feed(data, size);
    return parser.finish();
}

std::vector<std::string> readFoldersFile(const std::string& path) {
    InputFile file;
    if (!file.open(path)) return {};
    FoldersFileParser parser;
    uint8_t buffer[65536];
    const uint64_t end = std::min<uint64_t>(file.size(), kMaxFoldersFileBytes);
    uint64_t offset = 0;
    bool readError = false;
    while (offset < end) {
        const int64_t n =
            file.readAt(offset, buffer, std::min<uint64_t>(sizeof buffer, end - offset));
        if (n <= 0) {
            readError = n < 0;
            break;
        }
        offset += static_cast<uint64_t>(n);
        if (!parser.feed(buffer, static_cast<std::size_t>(n))) break;
    }
    // A line cut off by the size cap or a read error is not what the file says: drop it rather
    // than offer a favourite with half a path.
    if (readError || (offset == end && end < file.size())) parser.dropOpenLine();
    return parser.finish();
}

std::string formatFoldersFile(const std::vector<std::string>& favourites) {
    std::string out;
    for (const std::string& folder : favourites) {
        out += folder;
        out += kFoldersFileLineEnd;
    }
    return out;
}

bool writeFoldersFile(const std::string& path, const std::vector<std::string>& favourites) {
    const std::string::size_type cut = path.find_last_of(kPathSeparator);
    if (cut != std::string::npos && cut > 0) {
        std::error_code ec;
        std::filesystem::create_directories(path.substr(0, cut), ec);
    }
    const std::string bytes = formatFoldersFile(favourites);
    return saveFileAtomically(path, bytes.data(), bytes.size());
}

std::string foldersFilePath(const std::string& userDataFolder) {
    return WithBackslash(userDataFolder) + kFoldersFileName;
}

std::string foldersFileToRead(const std::string& userFile, const std::string& programFolder) {
    std::error_code ec;
    if (std::filesystem::exists(userFile, ec) || programFolder.empty()) return userFile;
    const std::string legacy = WithBackslash(programFolder) + kFoldersFileName;
    return std::filesystem::is_regular_file(legacy, ec) ? legacy : userFile;
}

}  // namespace pr
