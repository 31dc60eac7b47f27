#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>

#include "TestPictures.h"
#include "render/PageRenderer.h"

using namespace layouttest;

namespace {

struct Expected {
    int x, y;
    QRgb colour;
};

void expectPixels(const QImage& page, std::initializer_list<Expected> points) {
    for (const Expected& e : points)
        EXPECT_EQ(at(page, e.x, e.y), e.colour) << "at " << e.x << "," << e.y;
}

void place(pr::Album& album, double left, double top, double width, double height, int key,
           bool crop, int page = 1) {
    *reinterpret_cast<pr::Placement*>(album.Placements.Append()) =
        pr::Placement{left, top, width, height, page, key, uint8_t(crop ? 1 : 0), {}};
}

// At 10 pixels per inch and 100 % an inch is ten pixels, so the page below is small and every
// pixel can be reasoned about.
class PageRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Key 0: 8 x 4, left half red, right half green. Key 1: 2 x 4, blue on top of yellow.
        album.addPicture("/pics/wide.bmp",
                         picture24(std::vector<std::vector<QRgb>>(4, {R, R, R, R, G, G, G, G})));
        album.addPicture("/pics/tall.bmp", picture24({{B, B}, {B, B}, {Y, Y}, {Y, Y}}));
        place(album, 1, 1, 4, 4, 0, false);  // frame 10,10 40 x 40; picture 40 x 20
        place(album, 3, 2, 3, 3, 1, true);   // frame 30,20 30 x 30, in front, cropped
        options.zoom = 100;
        options.ppi = 10;
        options.displayBitsPerPixel = 24;
    }

    QImage render() {
        QImage page = canvas(80, 80, qRgb(1, 2, 3));
        QPainter painter(&page);
        pr::PageRenderer::render(painter, album, options, QSize(70, 70));
        return page;
    }

    pr::Album album;
    pr::PageRenderOptions options;
};

TEST_F(PageRendererTest, OverlappingPlacementsFitAndCropInArrayOrder) {
    const QImage page = render();
    // The sheet, and nothing beyond it.
    expectPixels(page, {{0, 0, W}, {75, 75, qRgb(1, 2, 3)}});
    // Fitted: 40 x 20 at the frame's corner, the empty strip below it.
    expectPixels(page, {{10, 10, R},
                        {29, 29, R},
                        {29, 15, R},
                        {30, 10, G},
                        {49, 19, G},
                        {20, 30, W},
                        {20, 49, W}});
    // Cropped: the middle two rows of four fill the frame, blue over yellow, in front.
    expectPixels(page, {{35, 25, B},
                        {30, 20, B},
                        {59, 34, B},
                        {30, 35, Y},
                        {59, 49, Y},
                        {60, 35, W},
                        {45, 50, W}});
}

TEST_F(PageRendererTest, SelectionFrameFollowsItsPlacementAndCanBeCovered) {
    options.selected = 0;
    const QImage page = render();
    // Outline on x 10..49, y 10..49, and just outside the top-left handle.
    expectPixels(
        page,
        {{20, 10, K}, {20, 11, R}, {20, 49, K}, {49, 15, K}, {50, 15, W}, {7, 6, W}, {13, 13, R}});
    // Handles 6 x 6 around the eight points.
    for (QPoint h : {QPoint(10, 10), QPoint(50, 10), QPoint(10, 50), QPoint(30, 10), QPoint(30, 50),
                     QPoint(10, 30)})
        expectPixels(page, {{h.x() - 3, h.y() - 3, K}, {h.x() + 2, h.y() + 2, K}});
    // The right-middle handle and that outline lie under the placement drawn later.
    expectPixels(page, {{50, 30, B}, {49, 25, B}, {47, 47, Y}, {52, 52, K}});
}

TEST_F(PageRendererTest, RubberBandInvertsWithoutHandlesAndUndoesItself) {
    const QImage before = render();
    QImage page = before;
    auto band = [&page] {
        QPainter painter(&page);
        pr::PageRenderer::markrec(painter, 10, 10, 40, 40, 0, 0, true);
    };
    band();
    // Inverted red and white, corners inverted once, not twice, and no handles.
    expectPixels(page, {{10, 10, C}, {20, 49, K}, {49, 10, M}, {10, 49, K}, {7, 7, W}});
    band();
    EXPECT_EQ(page, before);
}

TEST_F(PageRendererTest, CaptionSitsInTheFootOfTheDrawnPicture) {
    album.Pictures[0].Comment = "Hallo";
    options.captionFont.setPointSize(36);  // 100 % x 10 ppi x 36 / 72 = 5 pixels
    options.captionBackground = C;
    QImage page = render();
    QFont f = options.captionFont;
    f.setPixelSize(5);
    const int th = QFontMetrics(f, &page).height();
    ASSERT_GT(th, 1);
    ASSERT_LT(th, 20);
    // The band is the last th rows of the picture (y 30 - th .. 29), centred on x 10..49.
    int cyan = 0;
    for (int y = 30 - th; y < 30; ++y)
        for (int x = 10; x < 30; ++x) cyan += at(page, x, y) == C;
    EXPECT_GT(cyan, 0);
    for (int x = 10; x < 30; ++x) expectPixels(page, {{x, 29 - th, R}, {x, 30, W}});
    EXPECT_EQ(at(page, 10, 29), R);  // "Hallo" is narrower than the picture

    options.transparentCaptions = true;
    page = render();
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) ASSERT_NE(at(page, x, y), C);
}

TEST_F(PageRendererTest, FileNameCaptionOnlyWhenAskedFor) {
    EXPECT_EQ(pr::PageRenderer::captionText(album, 1, false), "");
    EXPECT_EQ(pr::PageRenderer::captionText(album, 1, true), "tall.bmp");
    album.Pictures[1].FileName = "C:\\Bilder\\alt.bmp";
    EXPECT_EQ(pr::PageRenderer::captionText(album, 1, true), "alt.bmp");
    album.Pictures[1].Comment = "Text";
    EXPECT_EQ(pr::PageRenderer::captionText(album, 1, true), "Text");
}

TEST_F(PageRendererTest, OtherPagesMissingPicturesAndLoadingDrawNothing) {
    album.Placements.Clear();
    place(album, 1, 1, 2, 2, 0, false, 2);
    place(album, 3, 3, 2, 2, 99, false);  // no picture has key 99
    options.selected = 0;                 // selected, but on another page
    EXPECT_EQ(render().copy(0, 0, 70, 70), canvas(70, 70));
    options.page = 2;
    EXPECT_EQ(at(render(), 15, 15), R);
    album.AlbumLoading = true;
    EXPECT_EQ(at(render(), 0, 0), qRgb(1, 2, 3));
}

TEST_F(PageRendererTest, GridDotsEveryStepFromTheOrigin) {
    album.Placements.Clear();
    options.showGrid = true;
    options.gridMm = 13;        // 5.118 pixels: dots at 0, 5, 10, 15 (truncated)
    options.pageWidthMm = 40;   // columns 0..3
    options.pageHeightMm = 27;  // rows 0..2
    const QImage page = render();
    int dots = 0;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 70; ++x)
            if (at(page, x, y) == K) {
                ++dots;
                EXPECT_TRUE(x % 5 == 0 && x <= 15 && y % 5 == 0 && y <= 10) << x << "," << y;
            }
    EXPECT_EQ(dots, 4 * 3);
}

// A damaged album can hold placements at 1e300 inches or of 1e300 inches. They are drawn as far as
// they reach onto the page, with their captions and selection frames, and the ordinary placements
// around them as before.
TEST_F(PageRendererTest, PlacementsAtAbsurdPositionsAreDrawnWithinThePage) {
    album.Pictures[0].Comment = "Strand";
    for (double at : {1e300, -1e300}) {
        place(album, at, at, 1, 1, 0, false);
        place(album, 0, at, 1e300, 1e300, 1, false);
        place(album, at, 0, 1e300, -1e300, 0, true);
    }
    for (int selected : {-1, 2, 4, 7}) {
        options.selected = selected;
        expectPixels(render(), {{10, 10, R}, {35, 25, B}, {75, 75, qRgb(1, 2, 3)}});
    }
    // One covering the whole page shows the middle of its picture, cropped to the part of the
    // frame kept near the page: blue over yellow, split in the middle of that part.
    place(album, -1e300, -1e300, 2e300, 2e300, 1, true);
    options.selected = 8;
    expectPixels(render(), {{40, 30, B}, {40, 50, Y}, {5, 75, Y}});
}

TEST(CaptionHeight, TruncatedPointsAtZoomAndResolutionButNeverBelowOnePixel) {
    const struct {
        double points;
        int zoom, ppi, pixels;
    } cases[] = {{7, 10, 96, 1},  // 0.93 computes to 0
                 {10, 10, 96, 1},    {11, 100, 96, 14}, {36, 100, 10, 5},
                 {11, 100, 600, 91}, {0.1, 100, 300, 1}};
    for (const auto& c : cases) {
        QFont font;
        font.setPointSizeF(c.points);
        EXPECT_EQ(pr::PageRenderer::captionPixelSize(font, c.zoom, c.ppi), c.pixels)
            << c.points << " pt at " << c.zoom << " % and " << c.ppi << " ppi";
    }
}

}  // namespace
