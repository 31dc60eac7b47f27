#include "render/PageExport.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "render/ExportTiffWriter.h"
#include "render/PagePrinter.h"
#include "render/SrgbDeclaration.h"

namespace pr {

namespace {

QString writeFailure(const QString& path, const QString& detail) {
    QString text = QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden.")
                       .arg(QDir::toNativeSeparators(path));
    if (!detail.isEmpty()) text += QLatin1Char('\n') + detail;
    return text;
}

bool writeRaster(const QImage& image, ExportFormat format, int dpi, QSaveFile& file,
                 QString* error) {
    if (format == ExportFormat::Tiff) return writeTiff(image, dpi, file, error);
    const char* name = format == ExportFormat::Jpeg  ? "jpeg"
                       : format == ExportFormat::Bmp ? "bmp"
                                                     : "png";
    QImageWriter writer(&file, name);
    if (format == ExportFormat::Jpeg) writer.setQuality(95);
    if (writer.write(image)) return true;
    *error = writer.errorString();
    return false;
}

bool writePdf(const Album& album, const PageRenderOptions& screen, const PrinterPage& page, int dpi,
              QSaveFile& file) {
    QPdfWriter pdf(&file);
    pdf.setCreator(QStringLiteral("Pixo-Rahmler"));
    pdf.setTitle(QStringLiteral("Pixo-Rahmler Dokument"));
    pdf.setResolution(dpi);
    declareSrgb(pdf);
    // The PDF page is the printable area, measured as the page editor measures it.
    const QSizeF inches(pageWidthInches(page), pageHeightInches(page));
    pdf.setPageLayout(QPageLayout(QPageSize(inches, QPageSize::Inch), QPageLayout::Portrait,
                                  QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    PageRenderOptions options = PagePrinter::printerOptions(screen, pdf.logicalDpiX());
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
    QPainter painter(&image);
    PageRenderer::drawSheet(painter, size);
    PageRenderer::drawPlacements(painter, album, PagePrinter::printerOptions(screen, dpi));
    return image;
}

ExportResult PageExport::exportPage(const QString& path, const Album& album,
                                    const PageRenderOptions& screen, const PrinterPage& page,
                                    int dpi) {
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
                                 "Bitmap Qualität.")
                                 .arg(size.width())
                                 .arg(size.height());
            return result;
        }
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.message = writeFailure(path, file.errorString());
        return result;
    }
    QString detail;
    const bool written = format == ExportFormat::Pdf
                             ? writePdf(album, screen, page, dpi, file)
                             : writeRaster(image, format, dpi, file, &detail);
    if (!written || file.error() != QFileDevice::NoError) {
        if (detail.isEmpty()) detail = file.errorString();
        file.cancelWriting();
        result.message = writeFailure(path, detail);
        return result;
    }
    if (!file.commit()) {
        result.message = writeFailure(path, file.errorString());
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace pr
