#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

#include "gui/app/CommandLine.h"
#include "gui/app/ProgramIcon.h"
#include "gui/app/ProgramTitle.h"
#include "gui/app/TMainForm.h"
#include "gui/output/CommandLinePrint.h"

int main(int argc, char** argv) {
    // "--pdf"/"--png": print the album without a window (and without needing a display).
    const pr::CommandLine line = pr::CommandLine::parse(argc, argv);
    if (line.mode != pr::CommandLine::Mode::Window)
        return pr::CommandLinePrint::run(argc, argv, line);

    QApplication app(argc, argv);
    // What Qt left of the command line: the album to open, and nothing else.
    const pr::CommandLine window = pr::CommandLine::parseWindow(app.arguments());
    if (!window.ok()) {
        std::fprintf(stderr, "pixo-rahmler: %s\n\n%s", window.error.c_str(),
                     pr::CommandLine::usage().c_str());
        return pr::CommandLinePrint::WrongCall;
    }
    app.setOrganizationName(pr::makerName());
    // The menu entry the desktop shows for this window, and the window's own icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("pixo-rahmler"));
    QApplication::setWindowIcon(pr::ProgramIcon::icon());

    // Qt's own dialogs and message-box buttons in German.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);

    pr::TMainForm mainForm;
    mainForm.show();
    // Opened from the file manager: the album arrives once the window is on the screen, so its
    // messages (a picture that is missing) have a window to stand on.
    if (!window.album.isEmpty())
        QTimer::singleShot(0, &mainForm, [&] { mainForm.openAlbumFile(window.album); });
    return app.exec();
}
