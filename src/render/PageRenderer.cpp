#include "render/PageRenderer.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>
#include <QTransform>
#include <algorithm>
#include <vector>

#include "core/album/CaptionFields.h"
#include "core/io/PathText.h"
#include "core/layout/FitPictureToFrame.h"
#include "core/layout/PageGeometry.h"
#include "core/layout/PageUnits.h"
#include "core/layout/SelectionHandles.h"
#include "render/CutMarkPainter.h"
#include "render/QPainterDibTarget.h"
#include "render/QualityWarning.h"

namespace pr {

namespace {

// Grid positions that fall on the same pixel (a fine grid at a small zoom) are drawn once, so the
// cost is bounded by the page's pixels and not by the number of grid lines.
std::vector<int> distinctPositions(std::vector<int> v) {
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

// Size in points of a caption font, also for a font that was given in pixels (at 96 dpi).
double fontPoints(const QFont& font) {
    if (font.pointSizeF() > 0) return font.pointSizeF();
    if (font.pixelSize() > 0) return font.pixelSize() * 72.0 / 96.0;
    return 11;
}

void drawCaption(QPainter& painter, const QString& text, const QFont& font, int x, int bottom,
                 int width, const PageRenderOptions& options) {
    QFont f = font;
    f.setPixelSize(PageRenderer::captionPixelSize(font, options.zoom, options.ppi));
    const QFontMetrics metrics(f, painter.device());
    const int textHeight = metrics.height();
    const int textWidth = metrics.horizontalAdvance(text);
    const QRect box(x, bottom - textHeight, width, textHeight);
    // Centred like the text drawing of the platform the layouts come from: integer halving, the
    // text clipped to the foot of the drawn picture.
    const int left = x + (width - textWidth) / 2;

    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    if (!options.transparentCaptions)
        painter.fillRect(QRect(left, box.top(), textWidth, textHeight), options.captionBackground);
    painter.setFont(f);
    painter.setPen(options.captionColour);
    painter.drawText(QPoint(left, box.top() + metrics.ascent()), text);
    painter.restore();
}

}  // namespace

QFont PageRenderOptions::defaultCaptionFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(11);
    return font;
}

int PageRenderer::captionPixelSize(const QFont& font, int zoom, int ppi) {
    return captionFontHeight(fontPoints(font), zoom, ppi);
}

std::string PageRenderer::captionText(const Album& album, int32_t key, bool showFileNames) {
    std::string text;
    album.getnumComment(key, text);
    if (!text.empty()) return shownCaption(album, key, text, PictureFactsCache::shared());
    if (!showFileNames) return text;
    std::string path;
    album.getnumfname(key, path);
    // Album files written on Windows keep backslashes in their paths.
    return splitStoredPath(path).name;
}

void PageRenderer::render(QPainter& painter, const Album& album, const PageRenderOptions& options,
                          QSize sheet) {
    if (album.AlbumLoading) return;
    drawSheet(painter, sheet);
    if (options.showGrid) drawGrid(painter, options);
    drawPlacements(painter, album, options);
    QualityWarning::draw(painter, album, options, sheet, PictureFactsCache::shared());
}

void PageRenderer::drawSheet(QPainter& painter, QSize sheet) {
    painter.fillRect(QRect(QPoint(0, 0), sheet), Qt::white);
}

void PageRenderer::drawGrid(QPainter& painter, const PageRenderOptions& options) {
    const std::vector<int> xs = distinctPositions(
        gridDotPositions(options.pageWidthMm, options.gridMm, options.zoom, options.ppi));
    const std::vector<int> ys = distinctPositions(
        gridDotPositions(options.pageHeightMm, options.gridMm, options.zoom, options.ppi));
    if (xs.empty() || ys.empty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0));
    QPolygon row(static_cast<int>(xs.size()));
    for (int y : ys) {
        for (size_t i = 0; i < xs.size(); ++i) row.setPoint(static_cast<int>(i), xs[i], y);
        painter.drawPoints(row);
    }
    painter.restore();
}

namespace {

// The part of a destination at (x, y) of w x h that has to be made: all of it, unless it is very
// large and only a part of it can be seen.
DestWindow windowOf(int x, int y, int w, int h, const PageRenderOptions& options) {
    const DestWindow whole{0, 0, w, h};
    if (options.visible.isEmpty() || int64_t{w} * h <= PageRenderOptions::kWholeDestinationPixels)
        return whole;
    const QRect seen = QRect(x, y, w, h).intersected(options.visible);
    if (seen.isEmpty()) return DestWindow{};
    return DestWindow{seen.x() - x, seen.y() - y, seen.width(), seen.height()};
}

// The placement's frame kept near the device's page (a damaged album may place it at 1e300
// inches); without a known page size, near a page far larger than any device.
PixelRect frameOf(const Placement& p, const PageRenderOptions& options) {
    constexpr int kUnknownPage = 1 << 24;
    const int w = options.deviceSize.isEmpty() ? kUnknownPage : options.deviceSize.width();
    const int h = options.deviceSize.isEmpty() ? kUnknownPage : options.deviceSize.height();
    return frameNearPage(p.Left, p.Top, p.Width, p.Height, options.zoom, options.ppi, w, h);
}

}  // namespace

std::vector<PagePicture> PageRenderer::pagePictures(const Album& album,
                                                    const PageRenderOptions& options) {
    std::vector<PagePicture> pictures;
    if (album.AlbumLoading) return pictures;
    const uint32_t count = album.placementCount();
    for (uint32_t i = 0; i < count; ++i) {
        const Placement& p = *album.placementAt(i);
        if (p.Page != options.page) continue;
        // A placement whose picture is missing (only a damaged album file can make one) is left
        // out rather than drawn from nothing; its selection frame still shows where it is.
        const AlbumImage* picture = album.pictureWithKey(p.ImageKey);
        if (!picture || !picture->hasPixels()) continue;
        const PixelRect frame = frameOf(p, options);
        const FitResult fit = FitPictureToFrame(picture->width(), picture->height(), frame.w,
                                                frame.h, p.FitCrop != 0, options.keepAspect);
        PagePicture pp;
        pp.index = i;
        pp.picture = picture;
        pp.request = RenditionRequest{fit.sx, fit.sy, fit.sw, fit.sh, fit.dw, fit.dh, {}};
        if (!pp.request.drawable()) continue;
        const DestWindow w = windowOf(frame.x, frame.y, fit.dw, fit.dh, options);
        if (w.width <= 0 || w.height <= 0) continue;
        pp.request.window = w;
        pp.x = frame.x + w.x;
        pp.y = frame.y + w.y;
        pictures.push_back(pp);
    }
    return pictures;
}

void PageRenderer::drawPlacements(QPainter& painter, const Album& album,
                                  const PageRenderOptions& options) {
    if (album.AlbumLoading) return;
    // The device is the page (the page view's box, the printer's page, the exported picture), in
    // the painter's coordinates (the preview stretches them).
    PageRenderOptions opts = options;
    if (opts.deviceSize.isEmpty()) {
        const QPaintDevice* device = painter.device();
        const QRect page = device ? painter.worldTransform().inverted().mapRect(
                                        QRect(0, 0, device->width(), device->height()))
                                  : QRect();
        opts.deviceSize = QSize(page.right() + 1, page.bottom() + 1);
    }
    if (options.cutMarks) CutMarkPainter::draw(painter, album, options);
    const std::vector<PagePicture> pictures = pagePictures(album, opts);
    // Every rendition of the page stays pinned until the page is done, so making a later one
    // can never push out an earlier one.
    std::vector<RenditionCache::Handle> held;
    held.reserve(pictures.size());
    for (const PagePicture& pp : pictures)
        held.push_back(options.renditions ? options.renditions(*pp.picture, pp.request)
                                          : PictureRenditions::placed(*pp.picture, pp.request));

    size_t next = 0;
    const uint32_t count = album.placementCount();
    for (uint32_t i = 0; i < count; ++i) {
        const Placement& p = *album.placementAt(i);
        if (p.Page != options.page) continue;
        const PixelRect frame = frameOf(p, opts);
        if (next < pictures.size() && pictures[next].index == i) {
            const PagePicture& pp = pictures[next];
            const RenditionCache::Handle& h = held[next];
            ++next;
            if (h)
                drawRendition(painter, pp.x, pp.y, *h.get<Rendition>(), true, options.messages,
                              options.displayBitsPerPixel);
            const std::string caption = captionText(album, p.ImageKey, options.showFileNames);
            if (!caption.empty())
                drawCaption(painter, QString::fromStdString(caption), options.captionFont, frame.x,
                            frame.y + pp.request.destHeight, pp.request.destWidth, options);
        }
        if (static_cast<int>(i) == options.selected)
            markrec(painter, frame.x, frame.y, frame.w, frame.h, 0, 0, options.dragging);
    }
}

void PageRenderer::markrec(QPainter& painter, int x, int y, int w, int h, int ox, int oy,
                           bool dragging) {
    painter.save();
    if (dragging) painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    const int left = x - ox, top = y - oy;
    // The outline as four rectangles that never overlap, so that an inverting frame inverts each
    // pixel exactly once and a second drawing restores it.
    if (w > 0 && h > 0) {
        painter.fillRect(QRect(left, top, w, 1), Qt::black);
        if (h > 1) painter.fillRect(QRect(left, top + h - 1, w, 1), Qt::black);
        if (h > 2) {
            painter.fillRect(QRect(left, top + 1, 1, h - 2), Qt::black);
            if (w > 1) painter.fillRect(QRect(left + w - 1, top + 1, 1, h - 2), Qt::black);
        }
    }
    painter.restore();
    if (dragging) return;
    for (const HandlePoint& c : selectionHandles(x, y, w, h))
        painter.fillRect(
            QRect(c.x - ox - kHandleHalf, c.y - oy - kHandleHalf, 2 * kHandleHalf, 2 * kHandleHalf),
            Qt::black);
}

}  // namespace pr
