#include "gui/layout/BildPopup.h"

namespace pr {

BildPopup::BildPopup(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("BildPopup"));
    auto item = [this](const char* name, const char* caption) {
        QAction* a = addAction(QString::fromUtf8(caption));
        a->setObjectName(QLatin1String(name));
        return a;
    };
    Nachlinksrotieren901 = item("Nachlinksrotieren901", "Nach &links rotieren (90°)...");
    Nachrechtsrotieren901 = item("Nachrechtsrotieren901", "Nach &rechts rotieren (90°)...");
    addSeparator();
    Lschen1 = item("Lschen1", "Lö&schen...");
    addSeparator();
    HelligkeitKontrastundSttigung1 =
        item("HelligkeitKontrastundSttigung1", "&Helligkeit, Kontrast und Sättigung...");
}

}  // namespace pr
