#pragma once
// The album file (.pxr): layout constants, the caps the reader enforces, and AlbumFileContent, the
// plain value that the writer encodes and the reader produces.
//
// Version 4.0 (the only one written), all integers little-endian:
//   24-byte header text, int32 N, N placement records of 48 bytes as they lie in memory,
//   int32 selected placement, strip selection, picture count P, next picture key,
//   the settings (booleans as int32 0/1; zoom, margin, spacing as int32; colour as int32;
//   minimum quality, default width, default height, grid spacing as doubles), the caption font
//   record, then P picture entries (counted path, int32 rotation, int32 key, counted comment).
// Versions 3.0 and 2.0 (read only) keep 10,000 one-byte slots instead of N records, each followed
// by a 48-byte old record when set, and fewer settings; 2.0 has no font and no comments.
//
// A 4.0 file may go on after its last picture entry with extension blocks (AlbumFileExtensions.h).
// Every reader of 4.0 files reads exactly P entries and stops there, so older programs open such a
// file as before and simply do not see what the blocks add.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/album/AlbumSettings.h"
#include "core/album/Placement.h"
#include "core/imaging/PictureRecipe.h"

namespace pr {

enum class AlbumFileVersion { V2_0, V3_0, V4_0 };

constexpr std::size_t kAlbumHeaderSize = 24;
constexpr char kAlbumHeader40[] = "ZOR-VEX Pixo-Rahmler 4.0";
constexpr char kAlbumHeader30[] = "ZOR-VEX Pixo-Rahmler 3.0";
constexpr char kAlbumHeader20[] = "ZOR-VEX Pixo-Rahmler 2.0";
static_assert(sizeof(kAlbumHeader40) == kAlbumHeaderSize + 1, "header text is 24 bytes");
static_assert(sizeof(kAlbumHeader30) == kAlbumHeaderSize + 1, "header text is 24 bytes");
static_assert(sizeof(kAlbumHeader20) == kAlbumHeaderSize + 1, "header text is 24 bytes");

constexpr int kOldSlotCount = 10000;
constexpr std::size_t kOldRecordSize = 48;
// Old records hold positions in ten-thousandths of the printable page.
constexpr double kOldUnitsPerPage = 10000.0;

// Caps on what a file may ask for: far beyond any album the program can hold (every picture is
// decoded in full), yet bounding what a small damaged file can make us do. Every missing picture
// becomes a 320 x 200 placeholder of 192,000 bytes (10,000 of them are under 2 GB), and the
// placement array grows 100 records at a time, copying itself each time.
constexpr int32_t kMaxAlbumPlacements = 100000;
constexpr int32_t kMaxAlbumPictures = 10000;
constexpr int32_t kMaxAlbumStringBytes = 1 << 20;
constexpr std::size_t kMaxAlbumFileBytes = std::size_t{256} << 20;

// One picture entry. `FileName` is the full path inside the program; the file may hold a bare name,
// which the reader resolves against the album's folder and the writer produces again.
struct StoredPicture {
    StoredPicture() = default;
    StoredPicture(std::string fileName, int32_t rotation, int32_t key, std::string comment,
                  std::vector<Adjustment> adjustments = {})
        : FileName(std::move(fileName)),
          Rotation(rotation),
          Key(key),
          Comment(std::move(comment)),
          Adjustments(std::move(adjustments)) {}

    std::string FileName;  // UTF-8
    int32_t Rotation = 0;  // clockwise quarter turns, 0..3
    int32_t Key = 0;
    std::string Comment;  // UTF-8; empty = no caption
    // Brightness/contrast/saturation, oldest first; kept in an extension block of 4.0 files.
    std::vector<Adjustment> Adjustments;

    bool operator==(const StoredPicture& o) const {
        return FileName == o.FileName && Rotation == o.Rotation && Key == o.Key &&
               Comment == o.Comment && Adjustments == o.Adjustments;
    }
};

struct AlbumFileContent {
    AlbumFileVersion Version = AlbumFileVersion::V4_0;
    std::vector<Placement> Placements;  // array order = drawing order
    int32_t SelectedPlacement = -1;
    int32_t StripSelection = 0;
    int32_t NextPictureKey = 0;
    AlbumSettings Settings;
    std::vector<StoredPicture> Pictures;  // album order; their number is the stored P
};

}  // namespace pr
