#include <gtest/gtest.h>

#include "RecordingTarget.h"
#include "core/imaging/DrawDib.h"
#include "core/imaging/Halftone.h"

using namespace pr;
using namespace drawtest;

namespace {

// A colour that names its position: red = x + 1, green = y + 1 (y from the top), blue = 0x40.
uint32_t marker(int x, int y) {
    return 0x400000u | (uint32_t(y + 1) << 8) | uint32_t(x + 1);
}

void drawAll(RecordingTarget& t, DibRect d, const ImageBuffer& b, DibRect s, bool halftone = true,
             bool useBufferPalette = false, const PaletteHandle& palette = nullptr,
             const DrawMessageFn& messages = {}) {
    DrawDib(t, d.x, d.y, d.width, d.height, b, s.x, s.y, s.width, s.height, halftone, kSrcCopy,
            useBufferPalette, palette, messages);
}

// ---- Clipping: on a printer the clipped rectangles reach stretchDIBits unchanged. ----

struct ClipCase {
    const char* name;
    DibRect source, dest;
    DibRect wantSource, wantDest;
};

// Source y counts stored rows from the bottom: y < 0 hangs below the picture, y + h > 8 above it.
TEST(DrawDib, ClippingDrawsOnlyTheInsidePartAtTheSameScale) {
    const ImageBuffer picture = make24(10, 8, marker);  // 10 wide, 8 high
    const ClipCase cases[] = {
        {"inside", {1, 2, 6, 4}, {5, 7, 12, 8}, {1, 2, 6, 4}, {5, 7, 12, 8}},
        {"right", {6, 0, 8, 8}, {0, 0, 16, 16}, {6, 0, 4, 8}, {0, 0, 8, 16}},
        {"rightHalfDown", {9, 0, 2, 8}, {0, 0, 5, 8}, {9, 0, 1, 8}, {0, 0, 2, 8}},
        {"rightHalfUp", {9, 0, 2, 8}, {0, 0, 7, 8}, {9, 0, 1, 8}, {0, 0, 4, 8}},
        {"bottom", {0, -2, 10, 8}, {0, 0, 20, 16}, {0, 0, 10, 6}, {0, 0, 20, 12}},
        {"bottomHalfDown", {0, -1, 10, 2}, {0, 0, 10, 5}, {0, 0, 10, 1}, {0, 0, 10, 2}},
        {"bottomHalfUp", {0, -1, 10, 2}, {0, 0, 10, 7}, {0, 0, 10, 1}, {0, 0, 10, 4}},
        {"top", {0, 4, 10, 8}, {0, 0, 20, 16}, {0, 4, 10, 4}, {0, 8, 20, 8}},
        {"topHalfDown", {0, 7, 10, 2}, {0, 0, 10, 5}, {0, 7, 10, 1}, {0, 3, 10, 2}},
        {"topHalfUp", {0, 7, 10, 2}, {0, 0, 10, 7}, {0, 7, 10, 1}, {0, 3, 10, 4}},
        {"left", {-2, 0, 10, 8}, {0, 0, 20, 16}, {0, 0, 8, 8}, {4, 0, 16, 16}},
        {"leftHalfDown", {-1, 0, 2, 8}, {0, 0, 5, 8}, {0, 0, 1, 8}, {3, 0, 2, 8}},
        {"leftHalfUp", {-1, 0, 2, 8}, {0, 0, 7, 8}, {0, 0, 1, 8}, {3, 0, 4, 8}},
        // Twice the size, hanging over all four edges: the picture lands where it would have.
        {"allFour", {-5, -4, 20, 16}, {100, 200, 40, 32}, {0, 0, 10, 8}, {110, 208, 20, 16}},
    };
    for (const ClipCase& c : cases) {
        RecordingTarget t;
        t.printer = true;
        drawAll(t, c.dest, picture, c.source);
        ASSERT_EQ(t.stretches.size(), 1u) << c.name;
        EXPECT_EQ(rectText(t.stretches[0].source), rectText(c.wantSource)) << c.name;
        EXPECT_EQ(rectText(t.stretches[0].dest), rectText(c.wantDest)) << c.name;
    }
}

TEST(DrawDib, NothingInsideOrEmptySizesDrawNothing) {
    const ImageBuffer picture = make24(10, 8, marker);
    const DibRect dest{0, 0, 20, 16};
    for (const DibRect& s : {DibRect{10, 0, 5, 8}, DibRect{-5, 0, 5, 8}, DibRect{0, 8, 10, 3},
                             DibRect{0, -3, 10, 3}, DibRect{0, 0, 0, 8}, DibRect{0, 0, 10, -1},
                             DibRect{9, 0, 2, 8} /* 1 x 1/2 rounds to 0 */}) {
        RecordingTarget t;
        t.printer = true;
        drawAll(t, s == DibRect{9, 0, 2, 8} ? DibRect{0, 0, 1, 16} : dest, picture, s);
        EXPECT_TRUE(t.stretches.empty() && t.blocks.empty()) << rectText(s);
    }
    for (const DibRect& d : {DibRect{0, 0, 0, 16}, DibRect{0, 0, 20, -4}}) {
        RecordingTarget t;
        drawAll(t, d, picture, DibRect{0, 0, 10, 8});
        EXPECT_TRUE(t.log.empty()) << rectText(d);
    }
    RecordingTarget t;
    drawAll(t, dest, ImageBuffer{}, DibRect{0, 0, 10, 8});
    EXPECT_TRUE(t.log.empty());
}

// ---- Which way a picture is drawn. ----

enum class Path { Halftone, Rows24, Rows8, Direct };

ImageBuffer pictureOfDepth(int bits, int width, int height) {
    if (bits == 24) return make24(width, height, marker);
    ImageBuffer b;
    newdib(b, width, height, bits);
    setGreyTable(b);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) setpixel(b, x, y, uint32_t(x + y));
    return b;
}

TEST(DrawDib, PathFollowsDepthDeviceAndDisplay) {
    const struct {
        const char* name;
        int bits;
        bool printer;
        int displayBits;
        bool halftone;
        Path want;
    } cases[] = {{"truecolourOnPaletteScreen", 24, false, 8, true, Path::Halftone},
                 {"truecolourOn16ColourScreen", 24, false, 4, true, Path::Halftone},
                 {"truecolourWithoutHalftone", 24, false, 8, false, Path::Rows24},
                 {"truecolourOnTruecolourScreen", 24, false, 24, true, Path::Rows24},
                 {"truecolourOnHicolourScreen", 24, false, 16, true, Path::Rows24},
                 {"pagePrintingFromPaletteScreen", 24, true, 8, true, Path::Halftone},
                 {"singlePicturePrinting", 24, true, 8, false, Path::Direct},
                 {"printerFromTruecolourScreen", 24, true, 32, true, Path::Direct},
                 {"paletteOnScreen", 8, false, 24, true, Path::Rows8},
                 {"paletteOnPaletteScreen", 8, false, 8, true, Path::Rows8},
                 {"paletteOnPrinter", 8, true, 24, true, Path::Direct},
                 {"sixteenColours", 4, false, 24, true, Path::Direct},
                 {"twoColours", 1, false, 8, true, Path::Direct}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ImageBuffer picture = pictureOfDepth(c.bits, 12, 10);
        RecordingTarget t;
        t.printer = c.printer;
        t.displayBits = c.displayBits;
        drawAll(t, {3, 4, 24, 20}, picture, {0, 0, 12, 10}, c.halftone);
        EXPECT_EQ(t.log.front(), "stretchMode 3");
        if (!t.blocks.empty()) {
            EXPECT_EQ(t.blocks[0].rows.bitCount() == 24 ? Path::Rows24 : Path::Rows8, c.want);
            continue;
        }
        ASSERT_EQ(t.stretches.size(), 1u);
        EXPECT_EQ(t.stretches[0].image.bits == picture.bits ? Path::Direct : Path::Halftone,
                  c.want);
    }
}

TEST(DrawDibHalftone, ReducedCopyAndItsSourceRectangle) {
    struct Case {
        int w, h;
        DibRect dest, source;
        int wantW, wantH;
        DibRect wantSource;
    };
    const Case cases[] = {
        // The whole picture reduced by destination/source: 40 * 10/20 by 20 * 5/10.
        {40, 20, {7, 9, 10, 5}, {10, 4, 20, 10}, 20, 10, {5, 2, 10, 5}},
        // Enlarged drawing halftones at the picture's own size.
        {10, 8, {0, 0, 8, 8}, {2, 1, 4, 4}, 10, 8, {2, 1, 4, 4}},
        // Smaller in one direction only still reduces; 5 * 3/2 = 7.5 -> 8 and 5 * 1/2 = 2.5 -> 2
        // (halves to even); 8 * 1/5 = 1.6 -> 2; 2 * 1/5 = 0.4 -> 0.
        {5, 5, {0, 0, 3, 1}, {1, 1, 2, 2}, 8, 2, {2, 0, 3, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(rectText(c.dest));
        RecordingTarget t;
        t.displayBits = 8;
        t.name(halftonePalette(), "halftone");
        drawAll(t, c.dest, make24(c.w, c.h, marker), c.source);
        ASSERT_EQ(t.stretches.size(), 1u);
        const auto& s = t.stretches[0];
        EXPECT_EQ(s.image.width(), c.wantW);
        EXPECT_EQ(s.image.height(), c.wantH);
        EXPECT_EQ(s.image.bitCount(), 8);
        EXPECT_EQ(rectText(s.source), rectText(c.wantSource));
        EXPECT_EQ(t.log, (std::vector<std::string>{
                             "stretchMode 3", "select halftone", "realize",
                             "stretchDIBits " + rectText(c.dest) + " <- " + rectText(c.wantSource),
                             "select default"}));
    }
}

// ---- The row paths: exact pixels. ----

TEST(DrawDibRows, TrueColourColumnsRowsAndReusedRows) {
    // 3 x 2 picture drawn into 5 x 4: columns 3i/5 = 0,0,1,1,2; rows from the top 2k/4 = 0,0,1,1.
    const ImageBuffer picture = make24(3, 2, marker);
    RecordingTarget t;
    drawAll(t, {20, 30, 5, 4}, picture, {0, 0, 3, 2});
    ASSERT_EQ(t.blocks.size(), 1u);
    EXPECT_EQ(t.blocks[0].x, 20);
    EXPECT_EQ(t.blocks[0].y, 30);
    const int cols[5] = {0, 0, 1, 1, 2}, rows[4] = {0, 0, 1, 1};
    const auto got = pixels(t.blocks[0].rows);
    ASSERT_EQ(got.size(), 4u);
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 5; ++i) EXPECT_EQ(got[k][i], marker(cols[i], rows[k])) << i << "," << k;
}

TEST(DrawDibRows, RowsAndColumnsOutsideThePictureAreBlack) {
    // Without clipping: source x -1..3 of a 3-wide picture, stored rows -1..4 of a 4-high one,
    // so the top and bottom destination rows and the first and last columns fall outside.
    const ImageBuffer picture = make24(3, 4, marker);
    RecordingTarget t;
    ASSERT_TRUE(DrawDibRows24(t, 0, 0, 5, 6, picture, -1, -1, 5, 6));
    ASSERT_EQ(t.blocks.size(), 1u);
    const auto got = pixels(t.blocks[0].rows);
    for (int k = 0; k < 6; ++k)
        for (int i = 0; i < 5; ++i) {
            const bool inside = k >= 1 && k <= 4 && i >= 1 && i <= 3;
            EXPECT_EQ(got[k][i], inside ? marker(i - 1, k - 1) : 0u) << i << "," << k;
        }
}

TEST(DrawDibRows, PalettePictureKeepsIndexesAndColourTable) {
    ImageBuffer picture;
    ASSERT_TRUE(newdib(picture, 4, 3, 8));
    for (int i = 0; i < 256; ++i)
        picture.info->colors[i] = RgbQuad{uint8_t(i), 0, uint8_t(255 - i), 0};
    syncPalette(picture);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) setpixel(picture, x, y, uint32_t(10 * y + x));
    RecordingTarget t;
    t.name(picture.paletteHandle, "picture");
    // Stored rows 1..2 (the top two as seen), columns 1..3, at 1:1.
    drawAll(t, {0, 0, 3, 2}, picture, {1, 1, 3, 2}, true, true);
    ASSERT_EQ(t.blocks.size(), 1u);
    const ImageBuffer& rows = t.blocks[0].rows;
    EXPECT_EQ(rows.bitCount(), 8);
    EXPECT_EQ(rows.info->colors[77].blue, 77);
    EXPECT_EQ(rows.info->colors[77].red, 178);
    const std::vector<std::vector<uint32_t>> want = {{1, 2, 3}, {11, 12, 13}};
    EXPECT_EQ(pixels(rows), want);
    const std::vector<std::string> log = {"stretchMode 3", "select picture", "realize",
                                          "setDIBits 0,0 3x2", "select default"};
    EXPECT_EQ(t.log, log);
}

TEST(DrawDibRows, HugeDestinationGoesInSeveralBlocksWithoutSeams) {
    // 12000 x 2000 at 24 bits is about 69 MiB; each destination row shows its own source row.
    const ImageBuffer picture = make24(1, 2000, [](int, int y) { return uint32_t(y); });
    RecordingTarget t;
    drawAll(t, {0, 100, 12000, 2000}, picture, {0, 0, 1, 2000});
    ASSERT_GE(t.blocks.size(), 2u);
    int y = 100;
    for (const auto& b : t.blocks) {
        EXPECT_EQ(b.y, y);
        EXPECT_EQ(getpixel(b.rows, 0, 0), uint32_t(y - 100));
        EXPECT_EQ(getpixel(b.rows, 11999, b.rows.height() - 1),
                  uint32_t(y - 100 + b.rows.height() - 1));
        y += b.rows.height();
    }
    EXPECT_EQ(y, 2100);
}

// ---- Fallbacks after a refused stretch. ----

TEST(DrawDibFallback, SamplesEveryDepthAtDestinationSize) {
    // 3 x 3 to 5 x 5: stored rows and columns 2j/4 = 0,0,1,1,2. Stored row 0 is the bottom, so
    // seen from the top the rows are 0,1,1,2,2 and the columns 0,0,1,1,2.
    const int cols[5] = {0, 0, 1, 1, 2}, rows[5] = {0, 1, 1, 2, 2};
    for (int bits : {1, 4, 8, 24}) {
        ImageBuffer picture;
        ASSERT_TRUE(newdib(picture, 3, 3, bits));
        const uint32_t mask = bits == 24 ? 0xFFFFFFu : (1u << bits) - 1;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                setpixel(picture, x, y, (marker(x, y) * 2654435761u >> 13) & mask);
        if (bits <= 8) picture.info->colors[1] = RgbQuad{1, 2, 3, 0};
        RecordingTarget t;
        t.printer = true;
        t.failStretchDIBits = true;
        drawAll(t, {5, 6, 5, 5}, picture, {0, 0, 3, 3});
        ASSERT_EQ(t.blocks.size(), 1u) << bits;
        EXPECT_EQ(t.blocks[0].x, 5);
        EXPECT_EQ(t.blocks[0].y, 6);
        const ImageBuffer& got = t.blocks[0].rows;
        EXPECT_EQ(got.bitCount(), bits);
        if (bits <= 8) {
            EXPECT_EQ(got.info->colors[1].green, 2);
        }
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(getpixel(got, x, y), getpixel(picture, cols[x], rows[y]))
                    << bits << " bits at " << x << "," << y;
    }
}

TEST(DrawDibFallback, OnePixelDestinationTakesTheFirstSourceColumnAndRow) {
    const ImageBuffer picture = make24(4, 4, marker);
    RecordingTarget t;
    t.printer = true;
    t.failStretchDIBits = true;
    drawAll(t, {0, 0, 1, 1}, picture, {1, 1, 2, 2});  // first = column 1, stored row 1
    drawAll(t, {0, 0, 3, 1}, picture, {1, 1, 2, 2});
    drawAll(t, {0, 0, 1, 3}, picture, {1, 1, 2, 2});
    ASSERT_EQ(t.blocks.size(), 3u);
    EXPECT_EQ(getpixel(t.blocks[0].rows, 0, 0), marker(1, 2));
    EXPECT_EQ(getpixel(t.blocks[1].rows, 2, 0), marker(2, 2));
    EXPECT_EQ(getpixel(t.blocks[2].rows, 0, 0), marker(1, 1));
}

TEST(DrawDibFallback, TryInOrderAndReportTheLastFailure) {
    const std::string blt = "stretchBlt 5,2 16x16 <- 0,0 8x8";
    const struct {
        const char* name;
        uint32_t caps;
        bool failSetDIBits, failCreate, failSetBits, failBlt;
        std::vector<std::string> wantLog, wantMessages;
    } cases[] = {
        // clang-format off
        {"samplingTakesOver", kRasterCapsDibToDevice, false, false, false, false,
         {"setDIBits 5,2 16x16"}, {}},
        {"noDibCapsGoesToBitmap", 0, false, false, false, false,
         {"createBitmap 10x8", "setBits", blt, "releaseBitmap"}, {}},
        {"refusedSetDIBitsGoesToBitmap", kRasterCapsDibToDevice, true, false, false, false,
         {"setDIBits 5,2 16x16 fails", "createBitmap 10x8", "setBits", blt, "releaseBitmap"}, {}},
        {"bitmapNotMade", 0, false, true, false, false,
         {"createBitmap 10x8 fails"}, {"Konnte Bitmap nicht erzeugen!"}},
        {"bitsRefused", 0, false, false, true, false,
         {"createBitmap 10x8", "setBits fails", "releaseBitmap"},
         {"Das Gerät unterstützt die Funtkion setdibits nicht!"}},
        {"bltRefused", 0, false, false, false, true,
         {"createBitmap 10x8", "setBits", blt + " fails", "releaseBitmap"},
         {"Das Gerät unterstützt die Funktion StretchBlt nicht!"}}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingTarget t;
        t.printer = t.failStretchDIBits = true;
        t.caps = c.caps;
        t.failSetDIBits = c.failSetDIBits, t.failCreateBitmap = c.failCreate;
        t.failSetBits = c.failSetBits, t.failStretchBlt = c.failBlt;
        std::vector<std::string> messages;
        drawAll(t, {1, 2, 20, 16}, make24(10, 8, marker), {-2, 0, 10, 8}, false, false, nullptr,
                [&](const std::string& m) { messages.push_back(m); });
        std::vector<std::string> want = {"stretchMode 3",
                                         "stretchDIBits 5,2 16x16 <- 0,0 8x8 fails"};
        want.insert(want.end(), c.wantLog.begin(), c.wantLog.end());
        EXPECT_EQ(t.log, want);
        EXPECT_EQ(messages, c.wantMessages);
    }
}

// ---- Palettes. ----

TEST(DrawDibPalette, ChosenPaletteIsPutBackAfterEverythingElse) {
    const ImageBuffer picture = pictureOfDepth(8, 6, 4);
    const PaletteHandle given = std::make_shared<LogPalette>();
    RecordingTarget t;
    t.printer = true;
    t.caps = 0;
    t.failStretchDIBits = true;
    t.name(picture.paletteHandle, "picture");
    t.name(given, "given");
    drawAll(t, {0, 0, 6, 4}, picture, {0, 0, 6, 4}, true, false, given);
    ASSERT_GE(t.log.size(), 4u);
    EXPECT_EQ(t.log[1], "select given");
    EXPECT_EQ(t.log[2], "realize");
    EXPECT_EQ(t.log[t.log.size() - 2], "releaseBitmap");
    EXPECT_EQ(t.log.back(), "select default");
    EXPECT_EQ(t.current, t.defaultPalette);

    // No palette given and the picture's own not wanted: nothing is selected.
    RecordingTarget none;
    none.printer = true;
    drawAll(none, {0, 0, 6, 4}, picture, {0, 0, 6, 4}, true, false, nullptr);
    EXPECT_EQ(none.log,
              (std::vector<std::string>{"stretchMode 3", "stretchDIBits 0,0 6x4 <- 0,0 6x4"}));

    // A 24-bit picture has no palette: a given one is not selected either.
    RecordingTarget trueColour;
    trueColour.printer = true;
    drawAll(trueColour, {0, 0, 6, 4}, pictureOfDepth(24, 6, 4), {0, 0, 6, 4}, true, false, given);
    EXPECT_EQ(trueColour.log.size(), 2u);
}

}  // namespace
