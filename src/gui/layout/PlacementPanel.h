#pragma once
// PlacementPanel: the side panel of the selected placement on the layout tab (caption, fit/crop,
// delete, show large, position and size, the turn and brightness commands), the placement's
// popup menu, and the two arrangement buttons above the strip. Every handler is a few lines
// around core code.

#include <QObject>
#include <functional>

#include "core/album/Album.h"

class QTimer;

namespace pr {

class PlacementEditor;
class Prompter;
class TKoordEdForm;
class TLayoutTab;
struct PictureCommandContext;

class PlacementPanel : public QObject {
    Q_OBJECT
public:
    PlacementPanel(TLayoutTab& tab, PlacementEditor& editor, Album& album, Prompter& prompter);

    void ChangeFreeText();
    void FreeTextChange();
    void Timer1Timer();
    void CutCheckClick();
    void Lschen1Click();
    void ShowBigBtnClick();
    void ChangePosSizeBtnClick();
    void OrdeneBtnClick();
    void OvertakeallClick();

    QTimer* Timer1 = nullptr;  // 500 ms after the last caption key, the page is redrawn
    TKoordEdForm* KoordEdForm = nullptr;

    // How the position dialog is shown; by default modally. Returns the dialog's result.
    void setDialogRunner(std::function<int(TKoordEdForm&)> runner) {
        dialogRunner_ = std::move(runner);
    }

private:
    Placement* selected() const;
    void runPictureCommand(void (*command)(const PictureCommandContext&));

    TLayoutTab& tab_;
    PlacementEditor& editor_;
    Album& album_;
    Prompter& prompter_;
    std::function<int(TKoordEdForm&)> dialogRunner_;
};

}  // namespace pr
