#include <gtest/gtest.h>

#include <QPainter>

#include "TestPictures.h"
#include "render/PagePrinter.h"
#include "render/PageRenderer.h"

using namespace layouttest;

namespace {

// 100 pixels per inch: a frame at (1, 1) inch, 2 x 2 inches, lies at 100..299 pixels.
class CutMarksTest : public ::testing::Test {
protected:
    void SetUp() override {
        album.addPicture("/pics/wide.bmp", picture24({{R, R}, {R, R}}));
        *reinterpret_cast<pr::Placement*>(album.Placements.Append()) =
            pr::Placement{1, 1, 2, 2, 1, 0, 0, {}};
        options.displayBitsPerPixel = 24;
    }
    QImage print(bool marks) {
        pr::PageRenderOptions o = pr::PagePrinter::printerOptions(options, 100);
        o.cutMarks = marks;
        QImage page = canvas(400, 400, W);
        QPainter painter(&page);
        pr::PageRenderer::drawPlacements(painter, album, o);
        return page;
    }
    pr::Album album;
    pr::PageRenderOptions options;
};

TEST_F(CutMarksTest, CornerMarksThreeMillimetresOutsideTheFrameOnlyWhenAsked) {
    const QImage with = print(true), without = print(false);
    // 3 mm = 11.8 pixels, 8 mm = 31.5: the top-left mark across runs from x 68 to 88 on row 100.
    struct Point {
        int x, y;
        QRgb marked;
    } points[] = {
        {80, 100, K},                 // top-left, across
        {100, 80, K},                 // top-left, down
        {320, 100, K},                // top-right, across
        {299, 80, W},                 // the right edge is at 300, not 299
        {300, 80, K},  {80, 300, K},  // bottom-left
        {300, 320, K},                // bottom-right, down
        {95, 100, W},                 // the gap next to the corner stays clean
        {100, 95, W},  {60, 100, W},  // beyond the mark's 5 mm
        {150, 150, R},                // the picture itself
    };
    for (const Point& p : points) {
        EXPECT_EQ(at(with, p.x, p.y), p.marked) << p.x << "," << p.y;
        if (p.marked == K) {
            EXPECT_EQ(at(without, p.x, p.y), W) << p.x << "," << p.y;
        }
    }
}

TEST(CaptionFieldsOnThePage, ShownFilledStoredWithFields) {
    pr::Album album;
    album.addPicture("/fotos/a.bmp", picture24({{R}}));
    const int32_t key = album.addPicture("/fotos/Strand.bmp", picture24({{G}}));
    album.Pictures[1].Comment = "{Nr}: {Dateiname} {Datum}";
    EXPECT_EQ(pr::PageRenderer::captionText(album, key, false), "2: Strand.bmp ");
    EXPECT_EQ(album.Pictures[1].Comment, "{Nr}: {Dateiname} {Datum}");
}

}  // namespace
