#pragma once
// BildPopup: the menu of a placement, opened by a right click on it. The side-panel buttons
// trigger the same actions, so both ways behave alike.

#include <QMenu>

namespace pr {

class BildPopup : public QMenu {
    Q_OBJECT
public:
    explicit BildPopup(QWidget* parent = nullptr);

    QAction* Nachlinksrotieren901 = nullptr;   // "Nach &links rotieren (90°)..."
    QAction* Nachrechtsrotieren901 = nullptr;  // "Nach &rechts rotieren (90°)..."
    QAction* Lschen1 = nullptr;                // "Lö&schen..."
    QAction* HelligkeitKontrastundSttigung1 = nullptr;
    // "Format": the photo sizes of printFormats() in their order, then "Wie Seite"; each
    // action's data() is the format's index, -1 for the page.
    QMenu* FormatMenu = nullptr;
    QAction* FillPage = nullptr;  // "Seite füllen mit..."

    // "Rückgängig" and "Wiederholen" (the window's actions, shared with the toolbar) at the top.
    void addHistoryActions(QAction* undo, QAction* redo);
};

}  // namespace pr
