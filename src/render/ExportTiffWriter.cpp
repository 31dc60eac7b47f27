#include "render/ExportTiffWriter.h"

#include <tiffio.h>

#include <QColorSpace>
#include <QIODevice>
#include <QImage>
#include <vector>

namespace pr {

namespace {

// libtiff talks to the device through these; the handle is the QIODevice.
tsize_t readProc(thandle_t h, tdata_t data, tsize_t size) {
    return static_cast<tsize_t>(static_cast<QIODevice*>(h)->read(static_cast<char*>(data), size));
}
tsize_t writeProc(thandle_t h, tdata_t data, tsize_t size) {
    return static_cast<tsize_t>(
        static_cast<QIODevice*>(h)->write(static_cast<const char*>(data), size));
}
toff_t seekProc(thandle_t h, toff_t offset, int whence) {
    auto* device = static_cast<QIODevice*>(h);
    qint64 target = static_cast<qint64>(offset);
    if (whence == SEEK_CUR) target += device->pos();
    if (whence == SEEK_END) target += device->size();
    // Seeking past the end is how libtiff leaves room; the gap is written right afterwards.
    if (!device->seek(target)) return static_cast<toff_t>(-1);
    return static_cast<toff_t>(device->pos());
}
int closeProc(thandle_t) {
    return 0;
}
toff_t sizeProc(thandle_t h) {
    return static_cast<toff_t>(static_cast<QIODevice*>(h)->size());
}
int mapProc(thandle_t, tdata_t*, toff_t*) {
    return 0;
}
void unmapProc(thandle_t, tdata_t, toff_t) {}

}  // namespace

bool writeTiff(const QImage& image, int dpi, QIODevice& device, QString* error) {
    auto fail = [error](const char* text) {
        if (error) *error = QString::fromUtf8(text);
        return false;
    };
    if (image.isNull()) return fail("Kein Bild zum Schreiben.");
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        return writeTiff(image.convertToFormat(QImage::Format_RGB32), dpi, device, error);
    TIFF* tif = TIFFClientOpen("page.tif", "w", &device, readProc, writeProc, seekProc, closeProc,
                               sizeProc, mapProc, unmapProc);
    if (!tif) return fail("Die TIFF-Datei konnte nicht angelegt werden.");

    const uint32_t width = static_cast<uint32_t>(image.width());
    const uint32_t height = static_cast<uint32_t>(image.height());
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(dpi));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(dpi));
    TIFFSetField(tif, TIFFTAG_SOFTWARE, "Pixo-Rahmler");
    // The raster's colour space (SrgbDeclaration.h) as the profile tag.
    const QByteArray profile =
        image.colorSpace().isValid() ? image.colorSpace().iccProfile() : QByteArray();
    if (!profile.isEmpty())
        TIFFSetField(tif, TIFFTAG_ICCPROFILE, static_cast<uint32_t>(profile.size()),
                     profile.constData());

    // Row by row, so the page raster is never held twice.
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    bool ok = true;
    for (uint32_t y = 0; y < height && ok; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(y)));
        for (uint32_t x = 0; x < width; ++x) {
            row[x * 3] = static_cast<uint8_t>(qRed(src[x]));
            row[x * 3 + 1] = static_cast<uint8_t>(qGreen(src[x]));
            row[x * 3 + 2] = static_cast<uint8_t>(qBlue(src[x]));
        }
        ok = TIFFWriteScanline(tif, row.data(), y, 0) == 1;
    }
    if (ok) ok = TIFFWriteDirectory(tif) == 1;
    TIFFClose(tif);
    return ok ? true : fail("Die TIFF-Daten konnten nicht geschrieben werden.");
}

}  // namespace pr
