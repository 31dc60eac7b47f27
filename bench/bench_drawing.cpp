// Drawing throughput: DrawDib on the true-colour path, a full page repaint and one drag step.
//
// DrawDib builds each destination row by table look-up, so drawing a 24-MP and a 6-MP picture
// into the same 1000 x 667 rectangle should cost about the same: the cost follows the
// destination. A drag step draws the cached page and the rubber band and must stay far below a
// repaint, which draws every picture again.
//
// Needs Qt (QPainter on a QImage, like a widget's backing store) and pr_render.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include "core/album/Album.h"
#include "core/imaging/ImageBuffer.h"
#include "core/layout/PlacementDrag.h"
#include "core/layout/SizeInfo.h"
#include "render/PageRenderer.h"
#include "render/QPainterDibTarget.h"

namespace {

// A picture with some structure in it, so that no path can take a shortcut on uniform rows.
pr::ImageBuffer makePicture(int w, int h) {
    pr::ImageBuffer b;
    pr::newdib(b, w, h, 24);
    for (int r = 0; r < h; ++r) {
        uint8_t* row = b.storedRow(r);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<uint8_t>(x);
            row[3 * x + 1] = static_cast<uint8_t>(r);
            row[3 * x + 2] = static_cast<uint8_t>(x ^ r);
        }
    }
    return b;
}

const pr::ImageBuffer& picture(int megapixels) {
    static pr::ImageBuffer six = makePicture(3000, 2000);
    static pr::ImageBuffer twentyFour = makePicture(6000, 4000);
    return megapixels == 24 ? twentyFour : six;
}

void BM_DrawDibTrueColour(benchmark::State& state) {
    const pr::ImageBuffer& source = picture(static_cast<int>(state.range(0)));
    QImage screen(1000, 667, QImage::Format_RGB32);
    QPainter painter(&screen);
    for (auto _ : state) {
        pr::drawDib(painter, 0, 0, 1000, 667, source, 0, 0, source.width(), source.height(), true,
                    false, {}, {}, 24);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(state.range(0)) + " MP into 1000 x 667");
}
BENCHMARK(BM_DrawDibTrueColour)->Arg(6)->Arg(24)->Unit(benchmark::kMillisecond);

// Twelve placements of 24-MP pictures in a 4 x 3 grid on a page of 8 x 10.5 inches.
struct TwelvePlacements {
    pr::Album album;
    pr::PageRenderOptions options;
    QSize sheet;

    explicit TwelvePlacements(int zoom) {
        // One picture, twelve placements: each placement draws the whole 24-MP picture again, and
        // twelve separate copies would only add 800 MB of memory, not work.
        album.addPicture("bench.bmp", picture(24));
        for (int i = 0; i < 12; ++i) {
            auto* p = reinterpret_cast<pr::Placement*>(album.Placements.Append());
            *p = pr::Placement{0.3 + (i % 3) * 2.6,
                               0.3 + (i / 3) * 2.5,
                               2.4,
                               2.3,
                               1,
                               0,
                               static_cast<uint8_t>(i % 2),
                               {}};
        }
        album.SelectedPlacement = 11;
        options.zoom = zoom;
        options.ppi = 96;
        options.showGrid = true;
        options.pageWidthMm = 8 * 25.39995;
        options.pageHeightMm = 10.5 * 25.39995;
        options.selected = 11;
        options.displayBitsPerPixel = 24;
        sheet = QSize(8 * 96 * zoom / 100, static_cast<int>(10.5 * 96 * zoom / 100));
    }
};

void BM_RepaintPage(benchmark::State& state) {
    TwelvePlacements page(static_cast<int>(state.range(0)));
    QImage screen(page.sheet, QImage::Format_RGB32);
    QPainter painter(&screen);
    for (auto _ : state) {
        pr::PageRenderer::render(painter, page.album, page.options, page.sheet);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RepaintPage)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

// What the page editor does for one mouse move during a resize: dragit on the placement (mode
// table, clamping, snapping), the status text, then the page view's paint of the two band
// outlines from the cached page with the band on top. No picture is drawn again.
void BM_DragStep(benchmark::State& state) {
    const int zoom = static_cast<int>(state.range(0));
    TwelvePlacements page(zoom);
    page.options.selected = -1;
    QImage cache(page.sheet, QImage::Format_RGB32);
    {
        QPainter painter(&cache);
        pr::PageRenderer::render(painter, page.album, page.options, page.sheet);
    }
    QImage screen(page.sheet, QImage::Format_RGB32);
    QPainter painter(&screen);
    pr::Placement& selected = *page.album.placementAt(11);
    const pr::DragView view{zoom, 96, page.sheet.width(), page.sheet.height(), true, 5};
    auto frame = [&] {
        const pr::PixelRect r = pr::frameOnScreen(selected.Left, selected.Top, selected.Width,
                                                  selected.Height, zoom, 96);
        return QRect(r.x, r.y, r.w, r.h);
    };
    const QRect start = frame();
    pr::DragState drag{pr::kDragBottomRight, 0, 0};
    int shift = 0;
    for (auto _ : state) {
        const QRect before = frame();
        pr::dragit(selected, drag, start.right() + 1 + shift * 4, start.bottom() + 1 + shift * 3,
                   view);
        const std::string status = pr::sizeInfoText(selected, ',');
        benchmark::DoNotOptimize(status.data());
        const QRect after = frame();
        QRegion band;
        for (const QRect& r : {before, after})
            band += QRegion(r.adjusted(-1, -1, 1, 1)).subtracted(QRegion(r.adjusted(1, 1, -1, -1)));
        for (const QRect& r : band) painter.drawImage(r, cache, r);
        pr::PageRenderer::markrec(painter, after.x(), after.y(), after.width(), after.height(), 0,
                                  0, true);
        shift = (shift + 1) % 16;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DragStep)->Arg(25)->Arg(100)->Unit(benchmark::kMicrosecond);

// The two ways of putting a bottom-up block of rows on a raster device upright: a mirroring
// transform over the rows in place (what QPainterDibTarget does), or a mirrored copy blitted
// plainly.
void BM_BlockMirrorTransform(benchmark::State& state) {
    const pr::ImageBuffer block = makePicture(1000, 667);
    const QImage rows(block.bits, 1000, 667, block.rowBytes, QImage::Format_BGR888);
    QImage screen(1000, 667, QImage::Format_RGB32);
    QPainter painter(&screen);
    for (auto _ : state) {
        painter.save();
        painter.translate(0, 667);
        painter.scale(1, -1);
        painter.drawImage(QRectF(0, 0, 1000, 667), rows, QRectF(0, 0, 1000, 667));
        painter.restore();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlockMirrorTransform)->Unit(benchmark::kMillisecond);

void BM_BlockMirroredCopy(benchmark::State& state) {
    const pr::ImageBuffer block = makePicture(1000, 667);
    const QImage rows(block.bits, 1000, 667, block.rowBytes, QImage::Format_BGR888);
    QImage screen(1000, 667, QImage::Format_RGB32);
    QPainter painter(&screen);
    for (auto _ : state) {
        painter.drawImage(0, 0, rows.mirrored(false, true));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlockMirroredCopy)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Fonts for the captions need a Gui application; no window is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
