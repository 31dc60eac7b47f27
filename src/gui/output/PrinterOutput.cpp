#include "gui/output/PrinterOutput.h"

#include <QPrinter>

#include "render/OutputFile.h"

namespace pr {

PrinterOutputResult printOnPrinter(QPrinter& printer,
                                   const std::function<bool(QPagedPaintDevice&)>& draw) {
    PrinterOutputResult result;
    const QString file = printer.outputFileName();
    if (file.isEmpty()) {
        result.ok = draw(printer);
        return result;
    }
    const OutputFileResult written = writePdfFile(
        file, PdfSetup{printer.pageLayout(), printer.resolution(), printer.docName()}, draw);
    result.ok = written.ok;
    result.fileMessage = written.message;
    return result;
}

}  // namespace pr
