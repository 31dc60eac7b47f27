#pragma once
// Printing onto the printer that the print dialog set up. A printer that prints on paper gets the
// pages directly. A printer that writes into a file ("print to file", or PDF when the machine has
// no printer) would write the PDF itself and report success on a full disk, over the old file;
// so its pages go through writePdfFile() instead, on the printer's sheet, resolution and job
// title, and a failed write is reported while the old file stays as it was.

#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPrinter;

namespace pr {

struct PrinterOutputResult {
    bool ok = false;
    QString fileMessage;  // German, when writing into a file failed; empty otherwise
};

PrinterOutputResult printOnPrinter(QPrinter& printer,
                                   const std::function<bool(QPagedPaintDevice&)>& draw);

}  // namespace pr
