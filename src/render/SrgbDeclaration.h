#pragma once
// Every picture leaves the program in sRGB: the readers convert embedded colour profiles to it.
// The files the program writes say so, so that other programs show the colours as they were
// meant: PDF documents carry sRGB as their output intent, exported pictures an sRGB profile.

#include <QPagedPaintDevice>

class QImage;

namespace pr {

// For a QPdfWriter, or a QPrinter that writes a PDF file. Qt 6.4 writes an output intent (the
// sRGB profile) only for PDF/A-1b, whose other rules (fonts embedded, no transparency) the pages
// keep anyway.
template <class PdfDevice>
void declareSrgb(PdfDevice& pdf) {
    pdf.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
}

// For a page raster about to be written: PNG gets an iCCP chunk, JPEG an APP2 profile, and the
// TIFF writer (ExportTiffWriter.h) the profile tag.
void declareSrgb(QImage& image);

}  // namespace pr
