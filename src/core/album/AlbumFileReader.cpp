#include "core/album/AlbumFileReader.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "core/album/AlbumFileMessages.h"
#include "core/album/AlbumFileText.h"
#include "core/io/StoredText.h"
#include "core/io/WholeFile.h"

namespace pr {

namespace {

// Reads little-endian fields; after the first short read every later read fails too, so a parser
// may read a group of fields and check once.
class ByteSource {
public:
    ByteSource(const uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}

    bool ok() const { return ok_; }
    std::size_t remaining() const { return ok_ ? static_cast<std::size_t>(end_ - p_) : 0; }
    void fail() { ok_ = false; }

    bool bytes(void* dest, std::size_t n) {
        if (!take(n)) return false;
        std::memcpy(dest, p_ - n, n);
        return true;
    }
    uint8_t u8() { return take(1) ? p_[-1] : 0; }
    uint32_t u32() {
        if (!take(4)) return 0;
        const uint8_t* b = p_ - 4;
        return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    bool boolean() { return u32() != 0; }
    double f64() {
        uint64_t bits = 0;
        if (take(8)) {
            for (int i = 7; i >= 0; --i) bits = (bits << 8) | p_[i - 8];
        }
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    // A finite double, or a failed source.
    double finite() {
        const double v = f64();
        if (!std::isfinite(v)) fail();
        return v;
    }
    // A counted string: int32 length, then that many bytes.
    std::string counted() {
        const int32_t n = i32();
        if (n < 0 || n > kMaxAlbumStringBytes || static_cast<std::size_t>(n) > remaining()) {
            fail();
            return {};
        }
        std::string s(reinterpret_cast<const char*>(p_), static_cast<std::size_t>(n));
        p_ += n;
        return s;
    }

private:
    bool take(std::size_t n) {
        if (!ok_ || static_cast<std::size_t>(end_ - p_) < n) {
            ok_ = false;
            return false;
        }
        p_ += n;
        return true;
    }

    const uint8_t* p_;
    const uint8_t* end_;
    bool ok_ = true;
};

// The cap holds for the text as the program keeps it too: Windows-1252 text grows by up to three
// times, a bare name by the album's folder, and an album that opens must open again once saved.
std::string checkedLength(ByteSource& in, std::string text) {
    if (text.size() > static_cast<std::size_t>(kMaxAlbumStringBytes)) in.fail();
    return text;
}

bool readFont(ByteSource& in, CaptionFont& font) {
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

bool readPlacements40(ByteSource& in, std::vector<Placement>& out) {
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
bool readOldPlacement(ByteSource& in, const OldPageGeometry& page, Placement& p) {
    uint8_t record[kOldRecordSize];
    if (!in.bytes(record, sizeof record)) return false;
    ByteSource fields(record + 8, 36);
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

bool readOldSlots(ByteSource& in, const OldPageGeometry& page, std::vector<Placement>& out) {
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

bool readSettings(ByteSource& in, AlbumFileVersion version, AlbumSettings& s) {
    s.ShowFNames = in.boolean();
    s.SverhCheck = in.boolean();
    s.Zoom = in.i32();
    s.Margin = in.i32();
    s.Spacing = in.i32();
    if (version == AlbumFileVersion::V2_0) return in.ok();
    s.TranspCheck = in.boolean();
    s.BkColor = in.u32();
    if (version == AlbumFileVersion::V4_0) {
        s.CutDefault = in.boolean();
        s.EnhanceQualCheck = in.boolean();
        s.UseGridCheck = in.boolean();
        s.ShowGridCheck = in.boolean();
        s.MinQual = in.finite();
        s.DefaultWidth = in.finite();
        s.DefaultHeight = in.finite();
        s.GridSpacing = in.finite();
    }
    return in.ok() && readFont(in, s.Font);
}

bool readPictures(ByteSource& in, AlbumFileVersion version, int32_t count,
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
            checkedLength(in, resolveStoredPath(decodeStoredText(in.counted()), albumFolder));
        picture.Rotation = in.i32();
        picture.Key = in.i32();
        if (withComment) picture.Comment = checkedLength(in, decodeStoredText(in.counted()));
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

}  // namespace

AlbumReadResult parseAlbumFile(const uint8_t* data, std::size_t size, const std::string& albumPath,
                               const AlbumSettings& current, const OldPageGeometry& page) {
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

    ByteSource in(data + kAlbumHeaderSize, size - kAlbumHeaderSize);
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
    normalise(c);
    return result;
}

AlbumReadResult readAlbumFile(const std::string& albumPath, const AlbumSettings& current,
                              const OldPageGeometry& page) {
    std::vector<uint8_t> bytes;
    switch (readWholeFile(albumPath, bytes, kMaxAlbumFileBytes)) {
        case FileReadStatus::Ok:
            return parseAlbumFile(bytes.data(), bytes.size(), albumPath, current, page);
        case FileReadStatus::TooLarge:
            return failure(AlbumReadError::Damaged, albumInvalidMessage());
        default:
            // A folder is no album, and neither is a file on a failing disk.
            return failure(AlbumReadError::OpenFailed, albumOpenFailedMessage(albumPath));
    }
}

}  // namespace pr
