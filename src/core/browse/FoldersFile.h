#pragma once
// folders.dat, the favourites file: one folder per line, most recently used first, every line
// ended by the platform's line end (LF here; files from Windows end theirs in CR LF), no header.
// The file is untrusted input (a user may edit it, a Windows installation may have written it in
// Windows-1252):
//  - a line ends at CR LF, at a lone LF or at a lone CR; the last line needs no line end, and a
//    line end after it adds no empty favourite; empty lines in between are empty favourites;
//  - UTF-8 byte-order marks at the very start are dropped;
//  - each line is decoded as a stored string (StoredText.h);
//  - a line that isStorableFavourite refuses after decoding (longer than kMaxFavouriteFolderBytes,
//    holding a zero byte, starting with U+FEFF) is passed over; reading stops after
//    kMaxFavouriteFolders favourites or kMaxFoldersFileBytes bytes.
// Nothing is allocated beyond one line of the limit's length.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pr {

constexpr const char* kFoldersFileName = "folders.dat";
#ifdef _WIN32
constexpr const char* kFoldersFileLineEnd = "\r\n";
#else
constexpr const char* kFoldersFileLineEnd = "\n";
#endif
constexpr uint64_t kMaxFoldersFileBytes = 16u << 20;

// Parses folders.dat from bytes fed in pieces, so the file never has to be in memory whole.
class FoldersFileParser {
public:
    // False once no more favourites will be taken (the count limit is reached).
    bool feed(const uint8_t* data, std::size_t size);
    // Forgets the bytes since the last line end (the input was cut off inside a line).
    void dropOpenLine();
    // The favourites; call once after the last feed.
    std::vector<std::string> finish();

private:
    void endLine();
    std::vector<std::string> folders_;
    std::string line_;
    bool lineUnusable_ = false;  // too long or holding a zero byte
    bool lineOpen_ = false;      // bytes since the last line end
    bool afterCr_ = false;       // an LF right after a CR ends no second line
    bool atStart_ = true;
    uint8_t bomSeen_ = 0;
};

std::vector<std::string> parseFoldersFile(const uint8_t* data, std::size_t size);

// The favourites in the file; empty when it is missing or unreadable.
std::vector<std::string> readFoldersFile(const std::string& path);

// The file's bytes for a list: every item followed by kFoldersFileLineEnd.
std::string formatFoldersFile(const std::vector<std::string>& favourites);

// Replaces the file atomically, creating its folder when it is missing (the per-user data folder
// does not exist on a fresh account). False, with the old file intact, when it cannot be written.
bool writeFoldersFile(const std::string& path, const std::vector<std::string>& favourites);

// Where folders.dat lives: in the per-user data folder that the caller names (the Qt side passes
// AppDataLocation). Nothing is ever written beside the program.
std::string foldersFilePath(const std::string& userDataFolder);

// The file to read at start: the per-user file; while that does not exist yet, a folders.dat left
// beside the program (where older versions kept it) when there is one. The next change of the
// favourites writes the per-user file, so the old one is read only until then.
std::string foldersFileToRead(const std::string& userFile, const std::string& programFolder);

}  // namespace pr
