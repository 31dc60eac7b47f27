#pragma once
// PageView: the page of the layout tab (PaintBox2), sized to the printable page at the zoom and
// sitting at the top-left corner of its scroll box.
//
// Qt draws widgets only in paint events, so "draw the page now" is PaintBox2Paint(): it brings the
// size up to date and repaints at once. The owner sizes the widget (syncSize) as soon as the page
// is known and after every change of it, because a widget of no size never gets a paint event; a
// paint event that still finds the widget at the wrong size resizes it and draws nothing, and the
// resize brings the next paint.
//
// During a move or resize the page is drawn from an image of the sheet, grid and placements made
// when the drag began, with the rubber band on top, so a mouse move never draws a picture again.
// The image is dropped when the drag ends; the release repaints the page in full.

#include <QImage>
#include <QWidget>
#include <functional>

#include "core/album/Album.h"
#include "render/PageRenderer.h"

namespace pr {

class PageView : public QWidget {
    Q_OBJECT
public:
    using OptionsFn = std::function<PageRenderOptions()>;
    using SizeFn = std::function<QSize()>;

    // `options` gives the current settings (zoom, resolution, page, captions, grid); `pageSize`
    // the page's size on screen. Both are asked afresh at every paint.
    PageView(const Album& album, OptionsFn options, SizeFn pageSize, QWidget* parent = nullptr);

    // Draws the page at once, at its current size.
    void PaintBox2Paint();
    // Gives the widget the page's size; true when it had to change.
    bool syncSize();

    // Starts or ends a drag. Starting renders the cached page (without the selection frame).
    void setDragging(bool dragging);
    bool dragging() const { return dragging_; }
    const QImage& dragCache() const { return dragCache_; }
    // Repaints only the pixels of the rubber band before and after one drag step.
    void bandMoved(const QRect& before, const QRect& after);

    // The page as the paint event draws it, into an image of the page's size (pictures made at
    // once, whatever the provider).
    QImage renderToImage() const;

    // Where the paint events get the pictures' renditions (RenditionScheduler in the window);
    // empty: made at once.
    void setRenditionProvider(RenditionProvider provider) { provider_ = std::move(provider); }

protected:
    void paintEvent(QPaintEvent* event) override;
    // The hint of a placement that prints too coarsely, over its frame.
    bool event(QEvent* event) override;

private:
    PageRenderOptions currentOptions() const;
    QRect selectedFrame(const PageRenderOptions& options) const;

    const Album& album_;
    OptionsFn options_;
    SizeFn pageSize_;
    bool dragging_ = false;
    QImage dragCache_;
    RenditionProvider provider_;
};

}  // namespace pr
