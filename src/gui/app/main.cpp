#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/ProgramTitle.h"
#include "app/TMainForm.h"

int main(int argc, char** argv) {
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
