#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/imaging/Resample.h"

using pr::DestWindow;
using pr::ImageBuffer;
using pr::Rendition;
using pr::SourceRect;

namespace {

// A grey 24-bit picture from rows of values, top row first.
ImageBuffer grey(const std::vector<std::vector<int>>& rows) {
    ImageBuffer b;
    pr::newdib(b, int(rows[0].size()), int(rows.size()), 24);
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            pr::setpixel(b, int(x), int(y), uint32_t(rows[y][x]) * 0x010101u);
    return b;
}

std::vector<int> blues(const Rendition& r, int y) {
    std::vector<int> v;
    for (int x = 0; x < r.width; ++x) v.push_back(int(r.row(y)[x] & 0xFF));
    return v;
}

// Renditions are never copied (the paint side keeps one image per rendition).
std::unique_ptr<Rendition> whole(const ImageBuffer& picture, int w, int h) {
    auto r = std::make_unique<Rendition>();
    EXPECT_TRUE(pr::resampleToRendition(
        picture, SourceRect{0, 0, double(picture.width()), double(picture.height())}, w, h,
        DestWindow{0, 0, w, h}, *r));
    return r;
}

// Shrinking averages what each destination pixel covers, weighted by how much of it; growing
// interpolates at the enlargement's positions; the same size copies.
TEST(Resample, ShrinkingAveragesGrowingInterpolatesSameSizeCopies) {
    const ImageBuffer row = grey({{0, 100, 200, 40}});
    EXPECT_EQ(blues(*whole(row, 2, 1), 0), (std::vector<int>{50, 120}));
    // Each of three covers 4/3 source pixels: (0 + 100 / 3) * 3/4, (100 * 2/3 + 200 * 2/3) * 3/4,
    // (200 / 3 + 40) * 3/4.
    EXPECT_EQ(blues(*whole(row, 3, 1), 0), (std::vector<int>{25, 150, 80}));
    EXPECT_EQ(blues(*whole(row, 4, 1), 0), (std::vector<int>{0, 100, 200, 40}));
    EXPECT_EQ(blues(*whole(grey({{0, 255}}), 4, 1), 0), (std::vector<int>{0, 128, 255, 255}));
    // Pixels are opaque 0xFFRRGGBB.
    EXPECT_EQ(whole(row, 2, 1)->row(0)[1], 0xFF787878u);
}

// A flat colour stays exactly that colour at every ratio, shrinking and growing.
TEST(Resample, FlatColoursStayExact) {
    ImageBuffer flat;
    ASSERT_TRUE(pr::newdib(flat, 7, 5, 24));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) pr::setpixel(flat, x, y, 0x00C08040);
    for (const auto& size : {std::pair{3, 2}, std::pair{7, 5}, std::pair{20, 9}, std::pair{1, 1}}) {
        const std::unique_ptr<Rendition> made = whole(flat, size.first, size.second);
        const Rendition& r = *made;
        for (int y = 0; y < r.height; ++y)
            for (int x = 0; x < r.width; ++x)
                ASSERT_EQ(r.row(y)[x], 0xFF4080C0u) << size.first << "x" << size.second;
    }
}

// Palette pictures are read through their colour table; a window is the same pixels as that part
// of the whole destination; a window outside the destination is refused.
TEST(Resample, PalettesWindowsAndRefusals) {
    ImageBuffer indexed;
    ASSERT_TRUE(pr::newdib(indexed, 4, 4, 8));
    indexed.info->colors[1] = {10, 20, 30, 0};
    indexed.info->colors[2] = {50, 60, 70, 0};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) pr::setpixel(indexed, x, y, x < 2 ? 1 : 2);
    const std::unique_ptr<Rendition> halves = whole(indexed, 2, 2);
    EXPECT_EQ(halves->row(0)[0], 0xFF1E140Au);
    EXPECT_EQ(halves->row(1)[1], 0xFF463C32u);

    const ImageBuffer ramp = grey({{0, 30, 60, 90, 120, 150, 180, 210},
                                   {5, 35, 65, 95, 125, 155, 185, 215},
                                   {9, 39, 69, 99, 129, 159, 189, 219}});
    const SourceRect all{0, 0, 8, 3};
    const std::unique_ptr<Rendition> full = whole(ramp, 5, 7);
    Rendition part;
    ASSERT_TRUE(pr::resampleToRendition(ramp, all, 5, 7, DestWindow{2, 3, 3, 2}, part));
    ASSERT_EQ(part.width, 3);
    ASSERT_EQ(part.height, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(part.row(y)[x], full->row(y + 3)[x + 2]);

    Rendition refused;
    EXPECT_FALSE(pr::resampleToRendition(ramp, all, 5, 7, DestWindow{4, 0, 2, 1}, refused));
    EXPECT_FALSE(pr::resampleToRendition(ramp, SourceRect{0, 0, 0, 3}, 5, 7, DestWindow{0, 0, 5, 7},
                                         refused));
    EXPECT_FALSE(
        pr::resampleToRendition(ImageBuffer(), all, 5, 7, DestWindow{0, 0, 5, 7}, refused));
    EXPECT_FALSE(refused.valid());

    ImageBuffer image;
    ASSERT_TRUE(pr::resampleToImage(ramp, all, 4, 3, image));
    EXPECT_EQ(image.bitCount(), 24);
    EXPECT_EQ(pr::getpixel(image, 0, 0), 15u * 0x010101u);
}

}  // namespace
