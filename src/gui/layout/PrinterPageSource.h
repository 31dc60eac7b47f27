#pragma once
// PrinterPageSource: the printer whose printable area is the page of the layout. It starts on the
// system's default printer; a machine without any printer gets PDF output on A4, so the page
// always has a size. current() reads the printable area and the resolution afresh at every call:
// nothing is cached, so choosing another printer, paper or orientation changes the page at the
// next repaint while the placements keep their inches.

#include <QPrinter>
#include <memory>

#include "core/layout/PageGeometry.h"

namespace pr {

class PrinterPageSource {
public:
    PrinterPageSource();
    ~PrinterPageSource();
    PrinterPageSource(const PrinterPageSource&) = delete;
    PrinterPageSource& operator=(const PrinterPageSource&) = delete;

    // The printer that printing and the printer-setup dialog work on.
    QPrinter& printer() { return *printer_; }

    PrinterPage current() const;
    static PrinterPage pageOf(const QPrinter& printer);

private:
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace pr
