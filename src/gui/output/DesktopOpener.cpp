#include "gui/output/DesktopOpener.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace pr {

std::optional<bool> DesktopOpener::hasProgramFor(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty()) return std::nullopt;
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(tool, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit) {
        query.kill();
        query.waitForFinished(1000);
        return std::nullopt;
    }
    // The desktop file of the program, or nothing at all.
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

bool DesktopOpener::open(const QString& path, const UrlOpener& opener) {
    if (hasProgramFor(path) == std::optional<bool>(false)) return false;
    const QUrl url = QUrl::fromLocalFile(path);
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

}  // namespace pr
