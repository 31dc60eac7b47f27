#pragma once
// PictureStrip: the picture strip of the layout tab (PaintBox1), one square cell per album
// picture, one under the other, inside its scroll box (ScrollBox1). The cell geometry lives in
// core (StripGeometry.h); this widget sizes itself from the scroll box and paints the cells that
// can be seen. The scroll box's workspace colour shows around the thumbnails; nothing else is
// drawn.

#include <QWidget>
#include <functional>

#include "core/album/Album.h"
#include "render/PageRenderer.h"

class QScrollArea;

namespace pr {

class PictureStrip : public QWidget {
    Q_OBJECT
public:
    // `box` is the scroll area that will hold the strip; its scroll step becomes 150 pixels.
    PictureStrip(const Album& album, QScrollArea* box, QWidget* parent = nullptr);

    // Draws the strip at once, after bringing its size up to date.
    void PaintBox1Paint();
    // Width = client width of the box; height = (outer width + 2) x pictures, 1 when empty.
    QSize wantedSize() const;
    bool syncSize();

    // Display depth handed to DrawDib; 0 for the screen's.
    void setDisplayBitsPerPixel(int bits) { displayBits_ = bits; }
    // Where the cells' renditions come from; empty: made at once (they come from the pictures'
    // thumbnails, so that is cheap).
    void setRenditionProvider(RenditionProvider provider) { provider_ = std::move(provider); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Album& album_;
    QScrollArea* box_;
    int displayBits_ = 0;
    RenditionProvider provider_;
};

}  // namespace pr
