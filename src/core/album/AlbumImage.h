#pragma once
// AlbumImage: one picture of the album. It owns its path, its caption and its recipe; placements
// name it only by Key, so reordering pictures never disturbs a page.
//
// The picture's pixels are not held here. `Source` says where they come from (the file, read
// again when needed, or pixels held in memory) and keeps a small thumbnail; Rotation, Adjustments
// and the enlargement say what the album did to them (PictureRecipe.h). Every rendition of the
// picture (strip, page, paper, viewer) is made from these through the rendition cache
// (PictureRenditions.h). width() and height() are the picture's full size, as if it were decoded
// and changed eagerly: the fitting into frames, the quality check and the messages use them.
//
// Records are plain values: copying one shares the source and copies the recipe.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/imaging/PictureRecipe.h"
#include "core/imaging/PictureSource.h"

namespace pr {

struct AlbumImage {
    std::string FileName;  // full path as added, or as resolved when the album was read
    std::string Comment;   // caption of every placement of this picture; empty = no caption
    int32_t Rotation = 0;  // quarter turns clockwise relative to the file, 0..3
    int32_t Key = 0;
    std::vector<Adjustment> Adjustments;  // confirmed adjustments, oldest first
    int32_t EnlargedWidth = 0;            // size raised to by Changequal, before the turns;
    int32_t EnlargedHeight = 0;           // 0 x 0 when never enlarged
    PictureSourcePtr Source;
    // The adjustment dialog's "Vorschau": shown on every rendition while the dialog is open,
    // not part of the recipe until "OK".
    std::optional<Adjustment> Preview;

    PictureRecipe recipe() const { return {Rotation, Adjustments, EnlargedWidth, EnlargedHeight}; }
    // Full size and depth of the picture as the album shows it (0 without pixels).
    int width() const;
    int height() const;
    int bitCount() const;
    bool hasPixels() const { return Source && Source->hasPixels(); }
    bool enlarged() const { return EnlargedWidth > 0 && EnlargedHeight > 0; }
};

}  // namespace pr
