#include "core/album/AlbumFileWriter.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "core/album/AlbumFileMessages.h"
#include "core/album/AlbumFileReplace.h"
#include "core/album/AlbumFileText.h"
#include "core/browse/UpperText.h"

namespace pr {

namespace {

class ByteSink {
public:
    void bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        out_.insert(out_.end(), p, p + size);
    }
    void u8(uint8_t v) { out_.push_back(v); }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 8; ++i) out_.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    }
    void boolean(bool v) { i32(v ? 1 : 0); }
    void counted(const std::string& s) {
        i32(static_cast<int32_t>(s.size()));
        bytes(s.data(), s.size());
    }
    std::vector<uint8_t> take() { return std::move(out_); }

private:
    std::vector<uint8_t> out_;
};

// Truncation toward zero; a control never holds NaN or values beyond int32, but a cast of one
// would be undefined, so they get fixed answers.
int32_t truncated(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

void writeFont(ByteSink& out, const CaptionFont& font) {
    // Windows-1252 has one byte per character, so only a UTF-8 name can be cut inside a letter.
    const std::string stored = encodeAlbumText(font.Name);
    const std::string name =
        stored == font.Name ? clipAlbumText(stored, 255) : stored.substr(0, 255);
    out.u8(font.Charset);
    out.u32(font.Color);
    out.u8(static_cast<uint8_t>(name.size()));
    out.bytes(name.data(), name.size());
    out.u8(font.Pitch);
    out.i32(font.PixelsPerInch);
    out.i32(font.Size);
    out.u8(font.Style);
}

}  // namespace

bool sameFolderOnDisk(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

std::string storedPicturePath(const std::string& fileName, const std::string& albumPath,
                              const SameFolderFn& sameFolder) {
    const AlbumPathParts picture = splitAlbumPath(fileName);
    const std::string albumFolder = splitAlbumPath(albumPath).folder;
    if (!equalsUpperText(picture.folder, albumFolder)) return fileName;
    if (picture.folder == albumFolder || (sameFolder && sameFolder(picture.folder, albumFolder))) {
        return picture.name;
    }
    return fileName;
}

AlbumFileContent albumFileContentOf(const Album& album, const AlbumSettings& settings) {
    AlbumFileContent content;
    content.Version = AlbumFileVersion::V4_0;
    content.Placements.reserve(album.placementCount());
    for (uint32_t i = 0; i < album.placementCount(); ++i) {
        content.Placements.push_back(*album.placementAt(i));
    }
    content.SelectedPlacement = album.SelectedPlacement;
    content.StripSelection = album.StripSelection;
    content.NextPictureKey = album.NextPictureKey;
    content.Settings = settings;
    content.Pictures.reserve(album.Pictures.size());
    for (const AlbumImage& picture : album.Pictures) {
        content.Pictures.push_back(
            {picture.FileName, picture.Rotation, picture.Key, picture.Comment});
    }
    return content;
}

std::vector<uint8_t> encodeAlbumFile(const AlbumFileContent& content, const std::string& albumPath,
                                     const SameFolderFn& sameFolder) {
    ByteSink out;
    out.bytes(kAlbumHeader40, kAlbumHeaderSize);
    out.i32(static_cast<int32_t>(content.Placements.size()));
    // The records go out exactly as they lie in memory, reserved bytes included.
    for (const Placement& p : content.Placements) out.bytes(&p, sizeof p);

    out.i32(content.SelectedPlacement);
    out.i32(content.StripSelection);
    out.i32(static_cast<int32_t>(content.Pictures.size()));
    out.i32(content.NextPictureKey);

    const AlbumSettings& s = content.Settings;
    out.boolean(s.ShowFNames);
    out.boolean(s.SverhCheck);
    out.i32(truncated(s.Zoom));
    out.i32(truncated(s.Margin));
    out.i32(truncated(s.Spacing));
    out.boolean(s.TranspCheck);
    out.u32(s.BkColor);
    out.boolean(s.CutDefault);
    out.boolean(s.EnhanceQualCheck);
    out.boolean(s.UseGridCheck);
    out.boolean(s.ShowGridCheck);
    out.f64(s.MinQual);
    out.f64(s.DefaultWidth);
    out.f64(s.DefaultHeight);
    out.f64(s.GridSpacing);
    writeFont(out, s.Font);

    for (const StoredPicture& picture : content.Pictures) {
        out.counted(encodeAlbumText(storedPicturePath(picture.FileName, albumPath, sameFolder)));
        out.i32(picture.Rotation);
        out.i32(picture.Key);
        out.counted(encodeAlbumText(picture.Comment));
    }
    return out.take();
}

AlbumSaveResult saveAlbumFile(const std::string& albumPath, Album& album,
                              const AlbumSettings& settings) {
    AlbumSaveResult result;
    const std::vector<uint8_t> bytes =
        encodeAlbumFile(albumFileContentOf(album, settings), albumPath);
    if (!replaceFileAtomically(albumPath, bytes)) {
        result.message = albumSaveFailedMessage(albumPath);
        return result;
    }
    album.AlbumFileName = albumPath;
    result.ok = true;
    return result;
}

}  // namespace pr
