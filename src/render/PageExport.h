#pragma once
// PageExport: "Als Bild speichern..." below the window. One page of the layout, drawn by
// PageRenderer at a chosen resolution, written to a file whose format follows the name's
// extension: .png, .jpg/.jpeg, .tif/.tiff, .bmp give a picture of the printable area, .pdf a PDF
// page at that resolution: the printer's whole sheet with the page drawn in its printable area, as
// "Go!" into a file gives it (without the printer's sheet, a page of the printable area's size). A
// name without extension gets PNG under the name as typed (appending ".png" would bypass the save
// dialog's overwrite question); an extension that belongs to no supported format is refused rather
// than filled with PNG bytes.
//
// Files are written through an AtomicFileDevice: the old file (if any) is replaced only after every
// byte reached the disk, and a failed write leaves neither a broken nor an empty file behind.
//
// The picture is the page as the page view shows it at zoom 100 on a screen of `dpi` pixels per
// inch: frames trunc(dpi x inches) each, captions of trunc(dpi x points / 72) pixels, no grid and
// no selection frame. One page raster at a time is held in memory.

#include <QImage>
#include <QPageLayout>
#include <QString>

#include "core/layout/PageGeometry.h"
#include "render/PageRenderer.h"

namespace pr {

class AtomicFileDevice;

enum class ExportFormat { Png, Jpeg, Tiff, Bmp, Pdf, Unsupported };

struct ExportResult {
    bool ok = false;
    QString message;  // German text for the user when !ok
};

class PageExport {
public:
    static constexpr int kMinDpi = 10;
    static constexpr int kMaxDpi = 600;
    static constexpr int kDefaultDpi = 150;

    static ExportFormat formatFor(const QString& path);

    // The printable page in pixels at `dpi`: both sides divided by the printer's horizontal
    // resolution, as the page editor measures the page.
    static QSize pixelSize(const PrinterPage& page, int dpi);

    // The page `screen.page` rendered at `dpi` on a white sheet; a null image when memory for it
    // could not be had.
    static QImage renderPage(const Album& album, const PageRenderOptions& screen,
                             const PrinterPage& page, int dpi);

    // `paper` is the printer's sheet and margins for a PDF; invalid: the printable area alone.
    static ExportResult exportPage(const QString& path, const Album& album,
                                   const PageRenderOptions& screen, const PrinterPage& page,
                                   int dpi, const QPageLayout& paper = QPageLayout());
    // The same into `file` (not yet open; its target decides the format), which is left written
    // but not committed, so that several pages can be put in place together. On failure the
    // file is discarded.
    static ExportResult writePage(AtomicFileDevice& file, const Album& album,
                                  const PageRenderOptions& screen, const PrinterPage& page, int dpi,
                                  const QPageLayout& paper = QPageLayout());
};

}  // namespace pr
