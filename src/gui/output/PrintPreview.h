#pragma once
// PrintPreview (PaintBox3): one page of the layout at its true printed size on the screen, inside
// a scroll area that the user pans by dragging the page.
//
// The sheet is the printable area converted with both resolutions of screen and printer
// (width x screen dpi x div printer dpi x, height likewise with the vertical ones), so a printer
// with unequal resolutions still gets a sheet of the paper's proportions. The placements are drawn
// by PageRenderer at zoom 100 and the screen's horizontal resolution, without grid or selection:
// the same routine that prints them. When the vertical scale differs from the horizontal one the
// page is stretched vertically to the sheet, so the placements stay where the paper has them.
//
// The widget has the sheet's size from the moment it exists (syncSize); a paint that still finds
// it at the wrong size resizes it and draws nothing, and the resize brings the next paint. While an
// album is being loaded the last drawn page is shown again.

#include <QImage>
#include <QWidget>
#include <functional>

#include "core/album/Album.h"
#include "core/layout/PageGeometry.h"
#include "render/PageRenderer.h"

class QScrollArea;

namespace pr {

class PrintPreview : public QWidget {
    Q_OBJECT
public:
    using OptionsFn = std::function<PageRenderOptions()>;
    using PageFn = std::function<PrinterPage()>;

    // `options` gives the layout settings and the page to show; `printerPage` the printer's
    // printable area and resolutions. Both are asked afresh at every paint. The widget becomes
    // the scroll area's widget.
    PrintPreview(const Album& album, OptionsFn options, PageFn printerPage, QScrollArea* scrollBox);

    // W = width x sx div px, H = height x sy div py; empty without a printer resolution.
    static QSize sheetSize(const PrinterPage& page, int screenDpiX, int screenDpiY);
    // A scroll position after dragging from `grab` to `mouse` (both in the page's coordinates),
    // limited to 0..maximum.
    static int pannedPosition(int position, int grab, int mouse, int maximum);

    // For tests: fixed screen resolutions instead of the widget's logical ones.
    void setScreenDpi(int x, int y) {
        dpiX_ = x;
        dpiY_ = y;
        syncSize();
    }
    int screenDpiX() const;
    int screenDpiY() const;

    // Draws the page now, at its current size.
    void PaintBox3Paint();
    // Gives the widget the sheet's size without drawing; true when it had to change. Runs from
    // the start: a widget of no size gets no paint that could size it.
    bool syncSize();
    QSize wantedSize() const;

    // The page exactly as the paint event puts it on the screen.
    QImage renderToImage() const;
    bool panning() const { return DragPanning; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void render(QPainter& painter, QSize sheet) const;

    const Album& album_;
    OptionsFn options_;
    PageFn printerPage_;
    QScrollArea* scrollBox_;
    int dpiX_ = 0;
    int dpiY_ = 0;
    QImage lastPage_;
    bool DragPanning = false;
    int GrabX = 0;
    int GrabY = 0;
};

}  // namespace pr
