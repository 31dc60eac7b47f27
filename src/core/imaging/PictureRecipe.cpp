#include "core/imaging/PictureRecipe.h"

#include <cstring>

#include "core/imaging/ImageBackup.h"
#include "core/imaging/Rotate.h"

namespace pr {

ChannelTable adjustmentTable(const std::vector<Adjustment>& adjustments, int bitCount) {
    ChannelTable t;
    for (int c = 0; c < 256; ++c) t[c] = static_cast<uint8_t>(c);
    for (const Adjustment& a : adjustments)
        t = composeTables(t, adjustAllTable(a.Brightness, a.Contrast, a.Saturation, bitCount));
    return t;
}

uint64_t pixelRecipeHash(int32_t rotation, const std::vector<Adjustment>& adjustments) {
    const int32_t turns = ((rotation % 4) + 4) % 4;
    if (turns == 0 && adjustments.empty()) return 0;
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](uint64_t v) {
        h ^= v;
        h *= 1099511628211ull;
    };
    mix(static_cast<uint64_t>(turns) + 1);
    for (const Adjustment& a : adjustments) {
        mix(static_cast<uint32_t>(a.Brightness));
        mix(static_cast<uint32_t>(a.Contrast));
        mix(static_cast<uint32_t>(a.Saturation));
    }
    return h == 0 ? 1 : h;
}

bool applyPixelRecipe(ImageBuffer& picture, int32_t rotation,
                      const std::vector<Adjustment>& adjustments) {
    if (!picture.valid()) return false;
    const int32_t turns = ((rotation % 4) + 4) % 4;
    // Turning makes a new picture, so the shared pixels are never touched by it.
    if (turns != 0 && !TurnByQuarterTurns(picture, turns)) return false;
    if (adjustments.empty()) return true;
    const ChannelTable table = adjustmentTable(adjustments, picture.bitCount());
    if (turns == 0 && picture.storage.use_count() > 1) {
        ImageBuffer own;
        if (!MakeBackup(picture, own)) return false;
        picture = std::move(own);
    }
    applyChannelTable(picture, table);
    return true;
}

void recipeSize(const PictureRecipe& recipe, int fileWidth, int fileHeight, int& width,
                int& height) {
    width = fileWidth;
    height = fileHeight;
    if (recipe.EnlargedWidth > 0 && recipe.EnlargedHeight > 0) {
        width = recipe.EnlargedWidth;
        height = recipe.EnlargedHeight;
    }
    if (recipe.Rotation % 2 != 0) std::swap(width, height);
}

}  // namespace pr
