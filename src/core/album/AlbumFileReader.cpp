#include "core/album/AlbumFileReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "core/album/AlbumFileExtensions.h"
#include "core/album/AlbumFileMessages.h"
#include "core/album/AlbumFileText.h"
#include "core/io/ByteReader.h"
#include "core/io/InputFile.h"
#include "core/io/StoredText.h"

namespace pr {

namespace {

constexpr uint64_t kFirstAlbumRead = uint64_t{64} << 10;

// A finite double, or a failed reader.
double readFinite(ByteReader& in) {
    const double v = in.f64();
    if (!std::isfinite(v)) in.fail();
    return v;
}

bool readBool(ByteReader& in) {
    return in.u32() != 0;
}

// A counted string: int32 length, then that many bytes.
std::string readCounted(ByteReader& in) {
    const int32_t n = in.i32();
    if (n < 0 || n > kMaxAlbumStringBytes || static_cast<std::size_t>(n) > in.remaining()) {
        in.fail();
        return {};
    }
    const uint8_t* text = in.take(static_cast<std::size_t>(n));
    return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(n));
}

// The cap holds for the text as the program keeps it too: Windows-1252 text grows by up to three
// times, a bare name by the album's folder, and an album that opens must open again once saved.
std::string checkedLength(ByteReader& in, std::string text) {
    if (text.size() > static_cast<std::size_t>(kMaxAlbumStringBytes)) in.fail();
    return text;
}

bool readFont(ByteReader& in, CaptionFont& font) {
    CaptionFont read;
    read.Charset = in.u8();
    read.Color = in.u32();
    const uint8_t nameLength = in.u8();
    std::string name(nameLength, '\0');
    in.bytes(&name[0], nameLength);
    read.Name = decodeStoredText(name);
    read.Pitch = in.u8();
    read.PixelsPerInch = in.i32();
    read.Size = in.i32();
    read.Style = in.u8();
    if (!in.ok()) return false;
    font = read;
    return true;
}

bool readPlacements40(ByteReader& in, std::vector<Placement>& out) {
    const int32_t n = in.i32();
    if (!in.ok() || n < 0 || n > kMaxAlbumPlacements ||
        static_cast<std::size_t>(n) > in.remaining() / sizeof(Placement)) {
        return false;
    }
    out.resize(static_cast<std::size_t>(n));
    for (Placement& p : out) {
        in.bytes(&p, sizeof p);
        if (!std::isfinite(p.Left) || !std::isfinite(p.Top) || !std::isfinite(p.Width) ||
            !std::isfinite(p.Height)) {
            return false;
        }
    }
    return in.ok();
}

// One old record: positions in ten-thousandths of the page, converted with the printer chosen now.
bool readOldPlacement(ByteReader& in, const OldPageGeometry& page, Placement& p) {
    uint8_t record[kOldRecordSize];
    if (!in.bytes(record, sizeof record)) return false;
    ByteReader fields(record + 8, 36);
    const double left = fields.f64(), top = fields.f64(), width = fields.f64(),
                 height = fields.f64();
    const int32_t key = fields.i32();
    const double ppi = page.pixelsPerInch;
    std::memset(&p, 0, sizeof p);
    p.Left = page.pageWidthPixels * left / kOldUnitsPerPage / ppi;
    p.Top = page.pageHeightPixels * top / kOldUnitsPerPage / ppi;
    p.Width = page.pageWidthPixels * width / kOldUnitsPerPage / ppi;
    p.Height = page.pageHeightPixels * height / kOldUnitsPerPage / ppi;
    p.Page = 1;
    p.ImageKey = key;
    p.FitCrop = 0;
    return std::isfinite(p.Left) && std::isfinite(p.Top) && std::isfinite(p.Width) &&
           std::isfinite(p.Height);
}

bool readOldSlots(ByteReader& in, const OldPageGeometry& page, std::vector<Placement>& out) {
    if (!(page.pixelsPerInch > 0) || !std::isfinite(page.pixelsPerInch) ||
        !std::isfinite(page.pageWidthPixels) || !std::isfinite(page.pageHeightPixels)) {
        return false;
    }
    for (int slot = 0; slot < kOldSlotCount; ++slot) {
        const uint8_t used = in.u8();
        if (!in.ok()) return false;
        if (used == 0) continue;
        Placement p;
        if (!readOldPlacement(in, page, p)) return false;
        out.push_back(p);
    }
    return true;
}

bool readSettings(ByteReader& in, AlbumFileVersion version, AlbumSettings& s) {
    s.ShowFNames = readBool(in);
    s.SverhCheck = readBool(in);
    s.Zoom = in.i32();
    s.Margin = in.i32();
    s.Spacing = in.i32();
    if (version == AlbumFileVersion::V2_0) return in.ok();
    s.TranspCheck = readBool(in);
    s.BkColor = in.u32();
    if (version == AlbumFileVersion::V4_0) {
        s.CutDefault = readBool(in);
        s.EnhanceQualCheck = readBool(in);
        s.UseGridCheck = readBool(in);
        s.ShowGridCheck = readBool(in);
        s.MinQual = readFinite(in);
        s.DefaultWidth = readFinite(in);
        s.DefaultHeight = readFinite(in);
        s.GridSpacing = readFinite(in);
    }
    return in.ok() && readFont(in, s.Font);
}

bool readPictures(ByteReader& in, AlbumFileVersion version, int32_t count,
                  const std::string& albumFolder, std::vector<StoredPicture>& out) {
    const bool withComment = version != AlbumFileVersion::V2_0;
    // The smallest entry: empty path, rotation, key (and an empty comment).
    const std::size_t minEntry = withComment ? 16 : 12;
    if (count < 0 || count > kMaxAlbumPictures ||
        static_cast<std::size_t>(count) > in.remaining() / minEntry) {
        return false;
    }
    out.resize(static_cast<std::size_t>(count));
    for (StoredPicture& picture : out) {
        picture.FileName =
            checkedLength(in, resolveStoredPath(decodeStoredText(readCounted(in)), albumFolder));
        picture.Rotation = in.i32();
        picture.Key = in.i32();
        if (withComment) picture.Comment = checkedLength(in, decodeStoredText(readCounted(in)));
        if (!in.ok()) return false;
        if (picture.Rotation < 0 || picture.Rotation > 3) picture.Rotation = 0;
    }
    return true;
}

void normalise(AlbumFileContent& c) {
    if (c.SelectedPlacement < -1 ||
        static_cast<int64_t>(c.SelectedPlacement) >= static_cast<int64_t>(c.Placements.size())) {
        c.SelectedPlacement = -1;
    }
    for (const StoredPicture& picture : c.Pictures) {
        if (picture.Key >= c.NextPictureKey) {
            c.NextPictureKey =
                picture.Key == std::numeric_limits<int32_t>::max() ? picture.Key : picture.Key + 1;
        }
    }
}

AlbumReadResult failure(AlbumReadError error, std::string message) {
    AlbumReadResult r;
    r.error = error;
    r.message = std::move(message);
    return r;
}

// `wholeFile`: whether the bytes reach the end of the file. When they do not, a file whose
// extension blocks may go on past them is not taken yet (Damaged), so the caller reads more.
AlbumReadResult parseAlbumBytes(const uint8_t* data, std::size_t size, bool wholeFile,
                                const std::string& albumPath, const AlbumSettings& current,
                                const OldPageGeometry& page) {
    AlbumReadResult result;
    AlbumFileContent& c = result.content;
    if (size < kAlbumHeaderSize) return failure(AlbumReadError::NotAnAlbum, albumInvalidMessage());
    if (std::memcmp(data, kAlbumHeader40, kAlbumHeaderSize) == 0) {
        c.Version = AlbumFileVersion::V4_0;
    } else if (std::memcmp(data, kAlbumHeader30, kAlbumHeaderSize) == 0) {
        c.Version = AlbumFileVersion::V3_0;
    } else if (std::memcmp(data, kAlbumHeader20, kAlbumHeaderSize) == 0) {
        c.Version = AlbumFileVersion::V2_0;
    } else {
        return failure(AlbumReadError::NotAnAlbum, albumInvalidMessage());
    }

    ByteReader in(data + kAlbumHeaderSize, size - kAlbumHeaderSize);
    const bool placementsOk = c.Version == AlbumFileVersion::V4_0
                                  ? readPlacements40(in, c.Placements)
                                  : readOldSlots(in, page, c.Placements);
    if (!placementsOk) return failure(AlbumReadError::Damaged, albumInvalidMessage());

    c.SelectedPlacement = in.i32();
    c.StripSelection = in.i32();
    const int32_t pictureCount = in.i32();
    c.NextPictureKey = in.i32();
    c.Settings = current;
    if (!in.ok() || !readSettings(in, c.Version, c.Settings) ||
        !readPictures(in, c.Version, pictureCount, albumFolderOf(albumPath), c.Pictures)) {
        return failure(AlbumReadError::Damaged, albumInvalidMessage());
    }
    // Older versions never had blocks; whatever follows their last entry stays unread.
    if (c.Version == AlbumFileVersion::V4_0 &&
        readAlbumExtensions(in, wholeFile, c.Pictures) == ExtensionsRead::CutShort) {
        return failure(AlbumReadError::Damaged, albumInvalidMessage());
    }
    normalise(c);
    return result;
}

}  // namespace

AlbumReadResult parseAlbumFile(const uint8_t* data, std::size_t size, const std::string& albumPath,
                               const AlbumSettings& current, const OldPageGeometry& page) {
    return parseAlbumBytes(data, size, true, albumPath, current, page);
}

AlbumReadResult readAlbumFile(const std::string& albumPath, const AlbumSettings& current,
                              const OldPageGeometry& page) {
    InputFile file;
    // A folder is no album, and neither is a FIFO or a device.
    if (!file.open(albumPath))
        return failure(AlbumReadError::OpenFailed, albumOpenFailedMessage(albumPath));
    if (file.size() > kMaxAlbumFileBytes)
        return failure(AlbumReadError::Damaged, albumInvalidMessage());
    // The file is read as far as its entries and extension blocks reach, no further: a first
    // piece, then twice as much each time they run past what was read. Bytes after the last block
    // are never read, and a file that is no album costs its first piece.
    std::vector<uint8_t> bytes;
    uint64_t end = kFirstAlbumRead;
    for (;;) {
        const std::size_t before = bytes.size();
        if (!file.readUpTo(bytes, end))
            return failure(AlbumReadError::OpenFailed, albumOpenFailedMessage(albumPath));
        // A file that shrank since it was opened ends where reading ends.
        const bool wholeFile = bytes.size() >= file.size() || bytes.size() == before;
        AlbumReadResult result =
            parseAlbumBytes(bytes.data(), bytes.size(), wholeFile, albumPath, current, page);
        if (result.ok() || result.error == AlbumReadError::NotAnAlbum || wholeFile) return result;
        end = std::min<uint64_t>(file.size(), uint64_t{bytes.size()} * 2);
    }
}

}  // namespace pr
