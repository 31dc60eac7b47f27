#include "gui/output/OutputFileNames.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace pr {

QStringList OutputFileNames::exportFilters() {
    return {QStringLiteral("PNG-Bild (*.png)"), QStringLiteral("JPEG-Bild (*.jpg *.jpeg)"),
            QStringLiteral("TIFF-Bild (*.tif *.tiff)"), QStringLiteral("Windows-Bitmap (*.bmp)"),
            QStringLiteral("PDF-Dokument (*.pdf)")};
}

QString OutputFileNames::suffixOf(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch m = pattern.match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString OutputFileNames::completed(const QString& path, const QString& filter) {
    const QString suffix = suffixOf(filter);
    if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QLatin1Char('.') + suffix;
}

QString OutputFileNames::firstExistingFolder(const QStringList& candidates) {
    for (const QString& folder : candidates)
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    return QDir::homePath();
}

QString OutputFileNames::exportProposal(const QString& lastFolder, int page) {
    const QString folder = firstExistingFolder(
        {lastFolder, QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)});
    return QDir(folder).filePath(QStringLiteral("Seite %1.png").arg(page));
}

QString OutputFileNames::printFileProposal(const QString& albumPath) {
    const QFileInfo album(albumPath);
    const QString name =
        (albumPath.isEmpty() ? QStringLiteral("Unbenannt") : album.completeBaseName()) +
        QStringLiteral(".pdf");
    const QString folder =
        firstExistingFolder({albumPath.isEmpty() ? QString() : album.absolutePath(),
                             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)});
    return QDir(folder).filePath(name);
}

}  // namespace pr
