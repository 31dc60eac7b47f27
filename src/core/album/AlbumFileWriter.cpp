#include "core/album/AlbumFileWriter.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "core/album/AlbumFileExtensions.h"
#include "core/album/AlbumFileMessages.h"
#include "core/io/AtomicFile.h"
#include "core/io/ByteWriter.h"
#include "core/io/PathText.h"
#include "core/io/StoredText.h"
#include "core/io/UpperText.h"

namespace pr {

namespace {

void writeBool(ByteWriter& out, bool v) {
    out.i32(v ? 1 : 0);
}

void writeCounted(ByteWriter& out, const std::string& s) {
    out.i32(static_cast<int32_t>(s.size())).bytes(s.data(), s.size());
}

// Truncation toward zero; a control never holds NaN or values beyond int32, but a cast of one
// would be undefined, so they get fixed answers.
int32_t truncated(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

void writeFont(ByteWriter& out, const CaptionFont& font) {
    // Windows-1252 has one byte per character, so only a UTF-8 name can be cut inside a letter.
    const std::string stored = encodeStoredText(font.Name);
    const std::string name = stored == font.Name ? clipUtf8(stored, 255) : stored.substr(0, 255);
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
    const PathParts picture = splitStoredPath(fileName);
    const std::string albumFolder = splitStoredPath(albumPath).folder;
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
        content.Pictures.push_back({picture.FileName, picture.Rotation, picture.Key,
                                    picture.Comment, picture.Adjustments});
    }
    return content;
}

std::vector<uint8_t> encodeAlbumFile(const AlbumFileContent& content, const std::string& albumPath,
                                     const SameFolderFn& sameFolder) {
    ByteWriter out;
    out.bytes(kAlbumHeader40, kAlbumHeaderSize);
    out.i32(static_cast<int32_t>(content.Placements.size()));
    // The records go out exactly as they lie in memory, reserved bytes included.
    for (const Placement& p : content.Placements) out.bytes(&p, sizeof p);

    out.i32(content.SelectedPlacement);
    out.i32(content.StripSelection);
    out.i32(static_cast<int32_t>(content.Pictures.size()));
    out.i32(content.NextPictureKey);

    const AlbumSettings& s = content.Settings;
    writeBool(out, s.ShowFNames);
    writeBool(out, s.SverhCheck);
    out.i32(truncated(s.Zoom));
    out.i32(truncated(s.Margin));
    out.i32(truncated(s.Spacing));
    writeBool(out, s.TranspCheck);
    out.u32(s.BkColor);
    writeBool(out, s.CutDefault);
    writeBool(out, s.EnhanceQualCheck);
    writeBool(out, s.UseGridCheck);
    writeBool(out, s.ShowGridCheck);
    out.f64(s.MinQual);
    out.f64(s.DefaultWidth);
    out.f64(s.DefaultHeight);
    out.f64(s.GridSpacing);
    writeFont(out, s.Font);

    for (const StoredPicture& picture : content.Pictures) {
        writeCounted(out,
                     encodeStoredText(storedPicturePath(picture.FileName, albumPath, sameFolder)));
        out.i32(picture.Rotation);
        out.i32(picture.Key);
        // The reader refuses a text that is longer as the program keeps it, so a caption beyond
        // the cap is cut rather than making an album that does not open again.
        writeCounted(out, encodeStoredText(clipUtf8(picture.Comment, kMaxAlbumStringBytes)));
    }
    writeAlbumExtensions(out, content.Pictures);
    return out.take();
}

AlbumSaveResult saveAlbumFile(const std::string& albumPath, Album& album,
                              const AlbumSettings& settings) {
    AlbumSaveResult result;
    const std::vector<uint8_t> bytes =
        encodeAlbumFile(albumFileContentOf(album, settings), albumPath);
    int error = 0;
    if (!saveFileAtomically(albumPath, bytes.data(), bytes.size(), &error)) {
        result.message = albumSaveFailedMessage(albumPath, error);
        return result;
    }
    album.AlbumFileName = albumPath;
    result.ok = true;
    return result;
}

}  // namespace pr
