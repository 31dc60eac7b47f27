#include "gui/layout/PrinterPageSource.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>

#include "render/SrgbDeclaration.h"

namespace pr {

PrinterPageSource::PrinterPageSource() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    printer_ = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                             : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (info.isNull()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        declareSrgb(*printer_);
        printer_->setPageSize(QPageSize(QPageSize::A4));
    }
}

PrinterPageSource::~PrinterPageSource() = default;

PrinterPage PrinterPageSource::current() const {
    return pageOf(*printer_);
}

PrinterPage PrinterPageSource::pageOf(const QPrinter& printer) {
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    PrinterPage page;
    page.printableWidthPx = printable.width();
    page.printableHeightPx = printable.height();
    page.ppiX = printer.logicalDpiX();
    page.ppiY = printer.logicalDpiY();
    return page;
}

}  // namespace pr
