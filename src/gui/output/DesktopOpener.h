#pragma once
// Opening a file in the program that the desktop has for its type (the viewer's "Öffnen...").
//
// Whether there is such a program is asked first where the desktop can tell (xdg-mime, from
// xdg-utils): xdg-open would start in the background and fail silently. Without xdg-mime the
// answer of QDesktopServices stands, which is false when nothing could be started.

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace pr {

class DesktopOpener {
public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    // True or false when the desktop says whether a program is set up for the file's type;
    // nothing when it cannot be asked.
    static std::optional<bool> hasProgramFor(const QString& path);

    // False when no program is set up for the file or none could be started. `opener` (for
    // tests) replaces QDesktopServices::openUrl.
    static bool open(const QString& path, const UrlOpener& opener = {});
};

}  // namespace pr
