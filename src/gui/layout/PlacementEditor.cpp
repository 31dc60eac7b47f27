#include "gui/layout/PlacementEditor.h"

#include <QDrag>
#include <QDropEvent>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>

#include "core/album/QualityCheck.h"
#include "core/layout/EffectiveResolution.h"
#include "core/layout/PageGeometry.h"
#include "core/layout/PlacementEditing.h"
#include "core/layout/PrintResolution.h"
#include "core/layout/SizeInfo.h"
#include "core/layout/SnapToGrid.h"
#include "core/layout/StripGeometry.h"
#include "gui/app/CursorSlots.h"
#include "gui/imaging/QualityCommands.h"
#include "gui/layout/BildPopup.h"
#include "gui/layout/PageView.h"
#include "gui/layout/PictureStrip.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/toolkit/Prompter.h"
#include "gui/undo/MovePlacementCommand.h"
#include "gui/undo/PlacePictureCommand.h"
#include "gui/undo/ResizePlacementCommand.h"

namespace pr {

const char* const PlacementEditor::kStripMimeType = "application/x-pixo-rahmler-strip-picture";

PlacementEditor::PlacementEditor(TLayoutTab& tab, Album& album, Prompter& prompter)
    : QObject(&tab), tab_(tab), album_(album), prompter_(prompter) {
    tab_.PaintBox1->installEventFilter(this);
    tab_.PaintBox2->installEventFilter(this);
    tab_.PaintBox2->setAcceptDrops(true);
    tab_.PaintBox2->setMouseTracking(true);  // the cursor shows what a press would grab
    popup_ = new BildPopup(tab_.PaintBox2);
    connect(tab_.APageEd, qOverload<int>(&QSpinBox::valueChanged), this,
            &PlacementEditor::pageChanged);
}

// The strip and the page may be gone already (they are the tab's older children); Qt drops the
// filters of a destroyed object by itself.
PlacementEditor::~PlacementEditor() = default;

DragView PlacementEditor::dragView() const {
    DragView v;
    v.zoom = tab_.ZoomEd->value();
    v.ppi = tab_.screenPpi();
    v.pageW = tab_.PaintBox2->width();
    v.pageH = tab_.PaintBox2->height();
    v.useGrid = tab_.UseGridCheck->isChecked();
    v.gridMm = tab_.GridEd->value();
    return v;
}

QRect PlacementEditor::selectedFrame() const {
    const int32_t i = album_.SelectedPlacement;
    if (i < 0 || static_cast<uint32_t>(i) >= album_.placementCount()) return {};
    const Placement& p = *album_.placementAt(static_cast<uint32_t>(i));
    const PixelRect r =
        frameNearPage(p.Left, p.Top, p.Width, p.Height, tab_.ZoomEd->value(), tab_.screenPpi(),
                      tab_.PaintBox2->width(), tab_.PaintBox2->height());
    return QRect(r.x, r.y, r.w, r.h);
}

void PlacementEditor::SelectPlacement(int32_t index) {
    album_.SelectedPlacement = index;
    tab_.setPlacementControlsEnabled(index != -1);
    if (selectionChanged_) selectionChanged_();
}

void PlacementEditor::BringAkInFront() {
    if (pr::BringAkInFront(album_)) SelectPlacement(album_.SelectedPlacement);
}

void PlacementEditor::ShowSizeInfo() {
    const int32_t i = album_.SelectedPlacement;
    if (i < 0 || static_cast<uint32_t>(i) >= album_.placementCount()) return;
    const EditorHooks h = hooks();
    if (!h.statusText) return;
    const QString point = QLocale().decimalPoint();
    const bool simple = point.size() == 1 && point.at(0).unicode() < 128;
    QString text = QString::fromStdString(
        sizeInfoText(*album_.placementAt(static_cast<uint32_t>(i)),
                     simple ? static_cast<char>(point.at(0).unicode()) : '.'));
    if (!simple) text.replace(QLatin1Char('.'), point);
    const double dpi = placementDpi(album_, *album_.placementAt(static_cast<uint32_t>(i)),
                                    tab_.SverhCheck->isChecked(), PictureFactsCache::shared());
    if (dpi > 0) text += QStringLiteral("%1 dpi").arg(wholeDpi(dpi));
    h.statusText(text);
}

void PlacementEditor::changequal(uint32_t index) {
    if (index >= album_.placementCount()) return;
    ChangequalShown(album_, *album_.placementAt(index),
                    qualitySettings(*tab_.EnhanceQualCheck, *tab_.MinQualEd), prompter_,
                    hooks().progress);
}

// ---- the strip ----

void PlacementEditor::PaintBox1MouseDown(QPoint pos) {
    const int hit = stripCellAt(pos.y(), tab_.PaintBox1->width(), album_.PictureCount());
    if (hit < 0) return;
    if (hit != album_.StripSelection) {
        album_.StripSelection = hit;
        tab_.PaintBox1Paint();
    }
    startStripDrag();
}

void PlacementEditor::startStripDrag() {
    if (dragStarter_) {
        dragStarter_();
        return;
    }
    auto* drag = new QDrag(tab_.PaintBox1);
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(kStripMimeType), QByteArray::number(album_.StripSelection));
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
}

void PlacementEditor::PaintBox1DblClick() {
    if (album_.StripSelection < 0 || album_.StripSelection >= album_.PictureCount()) return;
    addStripPicture(0, 0);  // the corner of the printable area, never snapped
    tab_.PaintBox2Paint();
}

bool PlacementEditor::PaintBox2DragOver(const QObject* source) const {
    return source != nullptr && source == tab_.PaintBox1;
}

void PlacementEditor::PaintBox2DragDrop(QPoint pos, const QObject* source) {
    if (PaintBox2DragOver(source) && album_.StripSelection >= 0 &&
        album_.StripSelection < album_.PictureCount()) {
        const int zoom = tab_.ZoomEd->value(), ppi = tab_.screenPpi();
        const bool grid = tab_.UseGridCheck->isChecked();
        const double gridMm = tab_.GridEd->value();
        addStripPicture(SnapToGrid(screenToInches(pos.x(), zoom, ppi), grid, gridMm),
                        SnapToGrid(screenToInches(pos.y(), zoom, ppi), grid, gridMm));
    }
    tab_.PaintBox2Paint();
}

void PlacementEditor::addStripPicture(double left, double top) {
    const AlbumImage& picture = album_.Pictures[static_cast<size_t>(album_.StripSelection)];
    PlacementsSnapshot before = PlacementsSnapshot::of(album_);
    const int32_t index = AddPlacement(
        album_, picture.Key, tab_.APageEd->value(), left, top, mmToInches(tab_.DBreiteED->value()),
        mmToInches(tab_.DHocheED->value()), tab_.CutDefault->isChecked());
    if (index < 0) return;  // the placement array reported it
    changequal(static_cast<uint32_t>(index));
    SelectPlacement(index);
    BringAkInFront();
    tab_.record(new PlacePictureCommand(album_, std::move(before)));
}

// ---- the page ----

void PlacementEditor::setCursorSlot(int slot) {
    if (slot == cursorSlot_) return;
    cursorSlot_ = slot;
    const EditorHooks h = hooks();
    if (h.cursor) {
        tab_.PaintBox2->setCursor(h.cursor(slot));
    } else {
        static const CursorSlots fallback;
        tab_.PaintBox2->setCursor(fallback.at(slot));
    }
}

void PlacementEditor::setdragmod(QPoint pos) {
    const QRect frame = selectedFrame();
    const PixelRect r{frame.x(), frame.y(), frame.width(), frame.height()};
    drag_ = pr::setdragmod(frame.isNull() ? nullptr : &r, pos.x(), pos.y());
    setCursorSlot(dragCursorSlot(drag_.mode));
}

void PlacementEditor::PaintBox2MouseDown(QPoint pos, Qt::MouseButton button, QPoint globalPos) {
    // A second button during a move or resize would change the selection under the rubber band.
    if (Dragging) return;
    const int32_t page = tab_.APageEd->value();
    if (button == Qt::RightButton) {
        const int32_t i =
            PlacementAt(album_, page, tab_.ZoomEd->value(), tab_.screenPpi(), pos.x(), pos.y());
        SelectPlacement(i);
        if (i >= 0) BringAkInFront();
        tab_.PaintBox2Paint();
        if (i >= 0) popup_->popup(globalPos);
        return;
    }
    setdragmod(pos);
    if (drag_.mode > kDragNone) {
        dragBefore_ = PlacementsSnapshot::of(album_);
        dragMoves_ = drag_.mode == kDragMove;
        Dragging = true;
        tab_.PaintBox2->setDragging(true);
        tab_.PaintBox2Paint();
        return;
    }
    const int32_t i =
        PlacementAt(album_, page, tab_.ZoomEd->value(), tab_.screenPpi(), pos.x(), pos.y());
    SelectPlacement(i);
    if (i >= 0) BringAkInFront();
    tab_.PaintBox2Paint();
}

void PlacementEditor::PaintBox2MouseMove(QPoint pos) {
    if (!Dragging) {
        setdragmod(pos);
        return;
    }
    const int32_t i = album_.SelectedPlacement;
    if (i < 0 || static_cast<uint32_t>(i) >= album_.placementCount()) return;
    const QRect before = selectedFrame();
    dragit(*album_.placementAt(static_cast<uint32_t>(i)), drag_, pos.x(), pos.y(), dragView());
    ShowSizeInfo();
    tab_.PaintBox2->bandMoved(before, selectedFrame());
}

void PlacementEditor::PaintBox2MouseUp(QPoint pos) {
    if (!Dragging) return;
    const int32_t i = album_.SelectedPlacement;
    const bool valid = i >= 0 && static_cast<uint32_t>(i) < album_.placementCount();
    if (valid) {
        dragit(*album_.placementAt(static_cast<uint32_t>(i)), drag_, pos.x(), pos.y(), dragView());
        ShowSizeInfo();
    }
    Dragging = false;
    tab_.PaintBox2->setDragging(false);
    if (valid) changequal(static_cast<uint32_t>(i));
    if (dragBefore_) {
        if (dragMoves_) {
            tab_.record(new MovePlacementCommand(album_, std::move(*dragBefore_)));
        } else {
            tab_.record(new ResizePlacementCommand(album_, std::move(*dragBefore_)));
        }
        dragBefore_.reset();
    }
    tab_.PaintBox2Paint();
}

void PlacementEditor::pageChanged() {
    if (album_.SelectedPlacement == -1) return;
    SelectPlacement(-1);
    tab_.PaintBox2Paint();
}

bool PlacementEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tab_.PaintBox1) {
        if (event->type() == QEvent::MouseButtonPress) {
            PaintBox1MouseDown(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            PaintBox1DblClick();
            return true;
        }
        return false;
    }
    if (watched != tab_.PaintBox2) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {  // the page has no double click: a second press
            auto* e = static_cast<QMouseEvent*>(event);
            PaintBox2MouseDown(e->position().toPoint(), e->button(), e->globalPosition().toPoint());
            return true;
        }
        case QEvent::MouseMove:
            PaintBox2MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        case QEvent::MouseButtonRelease:
            PaintBox2MouseUp(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        case QEvent::ContextMenu:
            return true;  // the right press already opened the menu
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* e = static_cast<QDragMoveEvent*>(event);
            if (PaintBox2DragOver(e->source())) {
                e->setDropAction(Qt::CopyAction);
                e->accept();
            } else {
                e->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(event);
            PaintBox2DragDrop(e->position().toPoint(), e->source());
            e->acceptProposedAction();
            return true;
        }
        default:
            return false;
    }
}

}  // namespace pr
