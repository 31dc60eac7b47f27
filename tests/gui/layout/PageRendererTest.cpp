#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>

#include "PageRenderer.h"
#include "TestPictures.h"
#include "layout/PageUnits.h"

using namespace layouttest;

namespace {

const QRgb R = qRgb(255, 0, 0), G = qRgb(0, 255, 0), B = qRgb(0, 0, 255), Y = qRgb(255, 255, 0),
           K = qRgb(0, 0, 0), W = qRgb(255, 255, 255), C = qRgb(0, 255, 255);

void place(pr::Album& album, double left, double top, double width, double height, int key,
           bool crop, int page = 1) {
    auto* p = reinterpret_cast<pr::Placement*>(album.Placements.Append());
    p->Left = left;
    p->Top = top;
    p->Width = width;
    p->Height = height;
    p->Page = page;
    p->ImageKey = key;
    p->FitCrop = crop ? 1 : 0;
}

// At 10 pixels per inch and 100 % an inch is ten pixels, so the page below is small and every
// pixel can be reasoned about.
class PageRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Key 0: 8 x 4, left half red, right half green. Key 1: 2 x 4, blue on top of yellow.
        std::vector<std::vector<QRgb>> wide(4, {R, R, R, R, G, G, G, G});
        album.addPicture("/pics/wide.bmp", picture24(wide));
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
    EXPECT_EQ(at(page, 0, 0), W);                // the sheet
    EXPECT_EQ(at(page, 75, 75), qRgb(1, 2, 3));  // beyond the sheet nothing is drawn
    // Fitted: 40 x 20 at the frame's corner, the empty strip below it.
    EXPECT_EQ(at(page, 10, 10), R);
    EXPECT_EQ(at(page, 29, 29), R);
    EXPECT_EQ(at(page, 20, 29), R);
    EXPECT_EQ(at(page, 29, 15), R);
    EXPECT_EQ(at(page, 30, 10), G);
    EXPECT_EQ(at(page, 49, 19), G);
    EXPECT_EQ(at(page, 35, 25), B);  // the cropped placement covers the fitted one
    EXPECT_EQ(at(page, 20, 30), W);
    EXPECT_EQ(at(page, 20, 49), W);
    // Cropped: the middle two rows of four fill the frame, blue over yellow, in front.
    EXPECT_EQ(at(page, 30, 20), B);
    EXPECT_EQ(at(page, 59, 34), B);
    EXPECT_EQ(at(page, 30, 35), Y);
    EXPECT_EQ(at(page, 59, 49), Y);
    EXPECT_EQ(at(page, 60, 35), W);
    EXPECT_EQ(at(page, 45, 50), W);
}

TEST_F(PageRendererTest, SelectionFrameFollowsItsPlacementAndCanBeCovered) {
    options.selected = 0;
    const QImage page = render();
    // Outline on x 10..49, y 10..49; handles 6 x 6 around the eight points.
    EXPECT_EQ(at(page, 20, 10), K);
    EXPECT_EQ(at(page, 20, 11), R);
    EXPECT_EQ(at(page, 20, 49), K);
    EXPECT_EQ(at(page, 49, 15), K);
    EXPECT_EQ(at(page, 50, 15), W);
    for (QPoint h : {QPoint(10, 10), QPoint(50, 10), QPoint(10, 50), QPoint(30, 10), QPoint(30, 50),
                     QPoint(10, 30)}) {
        EXPECT_EQ(at(page, h.x() - 3, h.y() - 3), K) << h.x() << "," << h.y();
        EXPECT_EQ(at(page, h.x() + 2, h.y() + 2), K) << h.x() << "," << h.y();
    }
    EXPECT_EQ(at(page, 7, 6), W);    // just above the top-left handle
    EXPECT_EQ(at(page, 13, 13), R);  // just beyond it
    // The right-middle handle lies under the placement drawn later, and so does that outline.
    EXPECT_EQ(at(page, 50, 30), B);
    EXPECT_EQ(at(page, 49, 25), B);
    EXPECT_EQ(at(page, 47, 47), Y);  // bottom-right handle: half covered
    EXPECT_EQ(at(page, 52, 52), K);
}

TEST_F(PageRendererTest, RubberBandInvertsWithoutHandlesAndUndoesItself) {
    const QImage before = render();
    QImage page = before;
    {
        QPainter painter(&page);
        pr::PageRenderer::markrec(painter, 10, 10, 40, 40, 0, 0, true);
    }
    EXPECT_EQ(at(page, 10, 10), qRgb(0, 255, 255));  // inverted red
    EXPECT_EQ(at(page, 20, 49), K);                  // inverted white
    EXPECT_EQ(at(page, 49, 10), qRgb(255, 0, 255));  // corners inverted once, not twice
    EXPECT_EQ(at(page, 10, 49), K);
    EXPECT_EQ(at(page, 7, 7), W);  // no handles
    {
        QPainter painter(&page);
        pr::PageRenderer::markrec(painter, 10, 10, 40, 40, 0, 0, true);
    }
    EXPECT_EQ(page, before);
}

TEST_F(PageRendererTest, CaptionSitsInTheFootOfTheDrawnPicture) {
    album.Pictures[0].Comment = "Hallo";
    options.captionFont.setPointSize(36);  // 100 % x 10 ppi x 36 / 72 = 5 pixels
    options.captionBackground = C;
    EXPECT_EQ(pr::PageRenderer::captionPixelSize(options.captionFont, 100, 10), 5);
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
    for (int x = 10; x < 30; ++x) EXPECT_EQ(at(page, x, 29 - th), R) << x;
    for (int x = 10; x < 30; ++x) EXPECT_EQ(at(page, x, 30), W) << x;
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
    QImage page = render();
    EXPECT_EQ(page.copy(0, 0, 70, 70), canvas(70, 70));
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

TEST(CaptionHeight, NeverBelowOnePixel) {
    QFont font;
    font.setPointSize(7);
    EXPECT_EQ(pr::PageRenderer::captionPixelSize(font, 10, 96), 1);  // 0.93 computes to 0
    font.setPointSize(10);
    EXPECT_EQ(pr::PageRenderer::captionPixelSize(font, 10, 96), 1);
    font.setPointSize(11);
    EXPECT_EQ(pr::PageRenderer::captionPixelSize(font, 100, 96), 14);
}

}  // namespace
