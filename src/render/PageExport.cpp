#include "render/PageExport.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "render/AtomicFileDevice.h"
#include "render/ExportTiffWriter.h"
#include "render/OutputFile.h"
#include "render/PagePrinter.h"
#include "render/PageRenditions.h"
#include "render/SrgbDeclaration.h"

namespace pr {

namespace {

// The encoders' own error texts are English; what went wrong with the file is the device's.
bool writeRaster(const QImage& image, ExportFormat format, int dpi, QIODevice& file) {
    if (format == ExportFormat::Tiff) return writeTiff(image, dpi, file, nullptr);
    const char* name = format == ExportFormat::Jpeg  ? "jpeg"
                       : format == ExportFormat::Bmp ? "bmp"
                                                     : "png";
    QImageWriter writer(&file, name);
    if (format == ExportFormat::Jpeg) writer.setQuality(95);
    return writer.write(image);
}

bool writePdf(const Album& album, const PageRenderOptions& screen, const PrinterPage& page, int dpi,
              const QPageLayout& paper, QIODevice& file) {
    QPdfWriter pdf(&file);
    pdf.setCreator(QStringLiteral("Pixo-Rahmler"));
    pdf.setTitle(QStringLiteral("Pixo-Rahmler Dokument"));
    pdf.setResolution(dpi);
    declareSrgb(pdf);
    if (paper.isValid()) {
        // The printer's sheet; the painter starts at the corner of its printable area, where the
        // page's inches start, exactly as on the printer.
        pdf.setPageLayout(paper);
    } else {
        // The printable area, measured as the page editor measures it.
        const QSizeF inches(pageWidthInches(page), pageHeightInches(page));
        pdf.setPageLayout(QPageLayout(QPageSize(inches, QPageSize::Inch), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
    }
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    const PageRenderOptions options = PagePrinter::printerOptions(screen, pdf.logicalDpiX());
    const PageRenditions::Handles pictures = PageRenditions::prepareNow(album, options);
    PageRenderer::drawPlacements(painter, album, options);
    return painter.end();
}

}  // namespace

ExportFormat PageExport::formatFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty() || suffix == QLatin1String("png")) return ExportFormat::Png;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return ExportFormat::Jpeg;
    if (suffix == QLatin1String("tif") || suffix == QLatin1String("tiff"))
        return ExportFormat::Tiff;
    if (suffix == QLatin1String("bmp")) return ExportFormat::Bmp;
    if (suffix == QLatin1String("pdf")) return ExportFormat::Pdf;
    return ExportFormat::Unsupported;
}

QSize PageExport::pixelSize(const PrinterPage& page, int dpi) {
    const PixelSize s = pageOnScreen(page, 100, dpi);
    return QSize(s.w, s.h);
}

QImage PageExport::renderPage(const Album& album, const PageRenderOptions& screen,
                              const PrinterPage& page, int dpi) {
    const QSize size = pixelSize(page, dpi);
    if (size.isEmpty()) return QImage();
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) return image;
    const int dotsPerMetre = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    declareSrgb(image);
    PageRenderOptions options = PagePrinter::printerOptions(screen, dpi);
    options.deviceSize = image.size();
    // Made on all cores first; the drawing then finds them (pinned until the page is drawn).
    const PageRenditions::Handles pictures = PageRenditions::prepareNow(album, options);
    QPainter painter(&image);
    PageRenderer::drawSheet(painter, size);
    PageRenderer::drawPlacements(painter, album, options);
    return image;
}

ExportResult PageExport::exportPage(const QString& path, const Album& album,
                                    const PageRenderOptions& screen, const PrinterPage& page,
                                    int dpi, const QPageLayout& paper) {
    AtomicFileDevice file(path);
    ExportResult result = writePage(file, album, screen, page, dpi, paper);
    if (result.ok && !file.commit()) {
        result.ok = false;
        result.message = outputFileFailedMessage(path, file.failureText());
    }
    return result;
}

ExportResult PageExport::writePage(AtomicFileDevice& file, const Album& album,
                                   const PageRenderOptions& screen, const PrinterPage& page,
                                   int dpi, const QPageLayout& paper) {
    const QString path = file.target();
    ExportResult result;
    const ExportFormat format = formatFor(path);
    if (format == ExportFormat::Unsupported) {
        result.message =
            QStringLiteral(
                "Die Endung \".%1\" gehört zu keinem Format, in dem die Seite "
                "gespeichert werden kann.\nMöglich sind .png, .jpg, .tif, .bmp und .pdf.")
                .arg(QFileInfo(path).suffix());
        return result;
    }

    QImage image;
    if (format != ExportFormat::Pdf) {
        image = renderPage(album, screen, page, dpi);
        if (image.isNull()) {
            const QSize size = pixelSize(page, dpi);
            result.message = QStringLiteral(
                                 "Für eine Seite von %1 x %2 Bildpunkten reicht der "
                                 "Speicher nicht. Bitte wählen Sie eine kleinere "
                                 "Bitmap-Qualität.")
                                 .arg(size.width())
                                 .arg(size.height());
            return result;
        }
    }

    if (!file.open(QIODevice::WriteOnly)) {
        result.message = outputFileFailedMessage(path, file.failureText());
        return result;
    }
    const bool written = format == ExportFormat::Pdf
                             ? writePdf(album, screen, page, dpi, paper, file)
                             : writeRaster(image, format, dpi, file);
    if (!written || file.failed()) {
        result.message =
            outputFileFailedMessage(path, file.failed() ? file.failureText()
                                                        : QStringLiteral("Die Seite konnte nicht "
                                                                         "kodiert werden."));
        file.discard();
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace pr
