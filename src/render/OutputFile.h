#pragma once
// Files the program makes from the album (PDF documents, page pictures): how they are written
// and what the user is told when that fails. Every such file goes through an AtomicFileDevice, so
// the old file stays whole until the new one is complete, and a failure names the file and the
// German reason ("Der Datenträger ist voll.").

#include <QPageLayout>
#include <QString>
#include <functional>

class QPagedPaintDevice;

namespace pr {

// "Die Datei "<path>" konnte nicht gespeichert werden." and, on a second line, `reason`.
QString outputFileFailedMessage(const QString& path, const QString& reason);

struct PdfSetup {
    QPageLayout layout;  // the sheet and its margins; the painter starts at the printable area
    int resolution = 300;
    QString title;
};

struct OutputFileResult {
    bool ok = false;
    QString message;  // German, for the user, when !ok
};

// Draws the pages with `draw` (false: drawing failed) on a PDF writer set up as `setup` says and
// puts the document at `path` only when drawing succeeded and every byte reached the disk.
OutputFileResult writePdfFile(const QString& path, const PdfSetup& setup,
                              const std::function<bool(QPagedPaintDevice&)>& draw);

}  // namespace pr
