#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "gui/app/CommandLine.h"
#include "gui/app/ProgramTitle.h"
#include "gui/app/TMainForm.h"
#include "gui/output/CommandLinePrint.h"

int main(int argc, char** argv) {
    // "--pdf"/"--png": print the album without a window (and without needing a display).
    const pr::CommandLine line = pr::CommandLine::parse(argc, argv);
    if (line.mode != pr::CommandLine::Mode::Window)
        return pr::CommandLinePrint::run(argc, argv, line);

    QApplication app(argc, argv);
    app.setOrganizationName(pr::makerName());

    // Qt's own dialogs and message-box buttons in German.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);

    pr::TMainForm mainForm;
    mainForm.show();
    return app.exec();
}
