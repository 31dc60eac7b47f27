#include "gui/layout/BildPopup.h"

#include "core/layout/PrintFormat.h"

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
    addSeparator();
    FormatMenu = addMenu(QStringLiteral("&Format"));
    FormatMenu->setObjectName(QStringLiteral("FormatMenu"));
    const std::vector<PrintFormat>& formats = printFormats();
    for (size_t i = 0; i < formats.size(); ++i)
        FormatMenu->addAction(QString::fromUtf8(formats[i].label))->setData(static_cast<int>(i));
    FormatMenu->addSeparator();
    FormatMenu->addAction(QStringLiteral("Wie Seite"))->setData(-1);
    FillPage = item("FillPage", "Seite &füllen mit...");
}

void BildPopup::addHistoryActions(QAction* undo, QAction* redo) {
    QAction* first = actions().value(0);
    if (!undo || !redo) return;
    insertAction(first, undo);
    insertAction(first, redo);
    insertSeparator(first);
}

}  // namespace pr
