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
};

}  // namespace pr
