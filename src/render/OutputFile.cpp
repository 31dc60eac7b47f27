#include "render/OutputFile.h"

#include <QDir>
#include <QPdfWriter>

#include "render/AtomicFileDevice.h"
#include "render/SrgbDeclaration.h"

namespace pr {

QString outputFileFailedMessage(const QString& path, const QString& reason) {
    QString text = QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden.")
                       .arg(QDir::toNativeSeparators(path));
    if (!reason.isEmpty()) text += QLatin1Char('\n') + reason;
    return text;
}

OutputFileResult writePdfFile(const QString& path, const PdfSetup& setup,
                              const std::function<bool(QPagedPaintDevice&)>& draw) {
    OutputFileResult result;
    AtomicFileDevice file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.message = outputFileFailedMessage(path, file.failureText());
        return result;
    }
    bool drawn;
    {
        // The writer finishes the document when it goes, so it goes before the commit.
        QPdfWriter pdf(&file);
        pdf.setCreator(QStringLiteral("Pixo-Rahmler"));
        pdf.setTitle(setup.title);
        pdf.setResolution(setup.resolution);
        declareSrgb(pdf);
        pdf.setPageLayout(setup.layout);
        drawn = draw(pdf);
    }
    if (drawn && file.commit()) {
        result.ok = true;
        return result;
    }
    result.message = outputFileFailedMessage(
        path, file.failed() ? file.failureText()
                            : QStringLiteral("Die Seiten konnten nicht gezeichnet werden."));
    return result;
}

}  // namespace pr
