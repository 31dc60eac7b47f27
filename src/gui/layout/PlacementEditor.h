#pragma once
// PlacementEditor: the mouse work on the layout tab. Pictures are dragged from the strip onto the
// page (or double-clicked there), a press on the page selects the frontmost placement under the
// mouse and brings it to the front, and the selected placement is moved by its body and resized
// by its eight handles with a rubber band over the cached page. The selection ends when the
// current page changes, so a press can never grab a placement that is not shown.
//
// The editor watches the strip and the page through event filters; the widgets themselves only
// draw. The album's SelectedPlacement is the selection; the editor keeps only the drag state.

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

#include "core/album/Album.h"
#include "core/album/PlacementsSnapshot.h"
#include "core/imaging/Quality.h"
#include "core/layout/PlacementDrag.h"
#include "gui/layout/EditorHooks.h"

class QMimeData;

namespace pr {

class BildPopup;
class Prompter;
class TLayoutTab;

class PlacementEditor : public QObject {
    Q_OBJECT
public:
    PlacementEditor(TLayoutTab& tab, Album& album, Prompter& prompter);
    ~PlacementEditor() override;

    // What the editor shows through the main window; the window sets them, tests set their own.
    void setHooks(EditorHooks hooks) { hooks_ = std::move(hooks); }
    const EditorHooks& hooks() const { return hooks_; }
    // Starts the drag of the strip picture; by default a QDrag that runs until the release.
    void setDragStarter(std::function<void()> starter) { dragStarter_ = std::move(starter); }
    // Called after every change of the selection (the side panel loads the placement).
    void setSelectionChanged(std::function<void()> f) { selectionChanged_ = std::move(f); }

    void SelectPlacement(int32_t index);
    void BringAkInFront();
    void ShowSizeInfo();
    // Changequal for the picture of placement `index`, with its width and height; failures are
    // reported.
    void changequal(uint32_t index);

    void PaintBox1MouseDown(QPoint pos);
    void PaintBox1DblClick();
    bool PaintBox2DragOver(const QObject* source) const;
    void PaintBox2DragDrop(QPoint pos, const QObject* source);
    void PaintBox2MouseDown(QPoint pos, Qt::MouseButton button, QPoint globalPos);
    void PaintBox2MouseMove(QPoint pos);
    void PaintBox2MouseUp(QPoint pos);

    const DragState& dragState() const { return drag_; }
    bool dragging() const { return Dragging; }
    int cursorSlot() const { return cursorSlot_; }
    BildPopup* popup() const { return popup_; }

    static const char* const kStripMimeType;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DragView dragView() const;
    QRect selectedFrame() const;
    void setdragmod(QPoint pos);
    void setCursorSlot(int slot);
    void addStripPicture(double left, double top);
    void startStripDrag();
    void pageChanged();

    TLayoutTab& tab_;
    Album& album_;
    Prompter& prompter_;
    EditorHooks hooks_;
    std::function<void()> dragStarter_;
    std::function<void()> selectionChanged_;
    BildPopup* popup_ = nullptr;
    DragState drag_;
    bool Dragging = false;
    // The placements at the press that started the drag: the whole drag is one step.
    std::optional<PlacementsSnapshot> dragBefore_;
    bool dragMoves_ = false;
    int cursorSlot_ = 0;
};

}  // namespace pr
