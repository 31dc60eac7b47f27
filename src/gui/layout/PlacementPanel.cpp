#include "gui/layout/PlacementPanel.h"

#include <QTimer>

#include "core/layout/Arrangement.h"
#include "core/layout/PageGeometry.h"
#include "core/layout/PlacementEditing.h"
#include "gui/imaging/PictureCommands.h"
#include "gui/layout/BildPopup.h"
#include "gui/layout/PlacementEditor.h"
#include "gui/layout/TKoordEdForm.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/undo/AdjustPictureCommand.h"
#include "gui/undo/AlbumHistory.h"
#include "gui/undo/ArrangePageCommand.h"
#include "gui/undo/CaptionCommand.h"
#include "gui/undo/DeletePlacementCommand.h"
#include "gui/undo/FitCropCommand.h"
#include "gui/undo/PlaceAllPicturesCommand.h"
#include "gui/undo/PositionDialogCommand.h"
#include "gui/undo/TurnPictureCommand.h"

namespace pr {

namespace {
constexpr int kCaptionDelayMs = 500;
}

PlacementPanel::PlacementPanel(TLayoutTab& tab, PlacementEditor& editor, Album& album,
                               Prompter& prompter)
    : QObject(&tab), tab_(tab), editor_(editor), album_(album), prompter_(prompter) {
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(kCaptionDelayMs);
    KoordEdForm = new TKoordEdForm(prompter_, &tab_);
    editor_.setSelectionChanged([this] { ChangeFreeText(); });

    connect(Timer1, &QTimer::timeout, this, &PlacementPanel::Timer1Timer);
    connect(tab_.FreeText, &QLineEdit::textChanged, this, &PlacementPanel::FreeTextChange);
    connect(tab_.CutCheck, &QCheckBox::clicked, this, &PlacementPanel::CutCheckClick);
    connect(tab_.ShowBigBtn, &QPushButton::clicked, this, &PlacementPanel::ShowBigBtnClick);
    connect(tab_.ChangePosSizeBtn, &QPushButton::clicked, this,
            &PlacementPanel::ChangePosSizeBtnClick);
    connect(tab_.OrdeneBtn, &QPushButton::clicked, this, &PlacementPanel::OrdeneBtnClick);
    connect(tab_.Overtakeall, &QPushButton::clicked, this, &PlacementPanel::OvertakeallClick);

    BildPopup* menu = editor_.popup();
    auto forward = [this](QPushButton* button, QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, handler);
        connect(button, &QPushButton::clicked, this, handler);
    };
    forward(tab_.RotLeftBtn, menu->Nachlinksrotieren901,
            [this] { runPictureCommand(&Nachlinksrotieren901Click); });
    forward(tab_.RotRightBtn, menu->Nachrechtsrotieren901,
            [this] { runPictureCommand(&Nachrechtsrotieren901Click); });
    forward(tab_.DelitBtn, menu->Lschen1, [this] { Lschen1Click(); });
    forward(tab_.HellKonBtn, menu->HelligkeitKontrastundSttigung1,
            [this] { runPictureCommand(&HelligkeitKontrastundSttigung1Click); });
}

Placement* PlacementPanel::selected() const {
    const int32_t i = album_.SelectedPlacement;
    if (i < 0 || static_cast<uint32_t>(i) >= album_.placementCount()) return nullptr;
    return album_.placementAt(static_cast<uint32_t>(i));
}

void PlacementPanel::runPictureCommand(void (*command)(const PictureCommandContext&)) {
    // What the command did to the picture's recipe becomes the step: a turn or an adjustment.
    const Placement* p = selected();
    const AlbumImage* picture = p ? album_.pictureWithKey(p->ImageKey) : nullptr;
    const int32_t key = picture ? picture->Key : 0;
    const int32_t rotation = picture ? picture->Rotation : 0;
    const std::size_t adjustments = picture ? picture->Adjustments.size() : 0;
    PictureCommandContext context{album_, prompter_, &tab_,
                                  [this] {
                                      tab_.PaintBox1Paint();
                                      tab_.PaintBox2Paint();
                                      // A turn can change the resolution a cropped frame gets.
                                      editor_.ShowSizeInfo();
                                  },
                                  editor_.hooks().progress};
    command(context);
    const AlbumImage* after = picture ? album_.pictureWithKey(key) : nullptr;
    if (!after) return;
    if (after->Rotation == (rotation + 1) % 4)
        tab_.record(new TurnPictureCommand(key, TurnDirection::Right));
    if (after->Rotation == (rotation + 3) % 4)
        tab_.record(new TurnPictureCommand(key, TurnDirection::Left));
    if (after->Adjustments.size() == adjustments + 1)
        tab_.record(new AdjustPictureCommand(key, after->Adjustments.back()));
}

void PlacementPanel::ChangeFreeText() {
    const Placement* p = selected();
    if (!p) return;
    const int32_t key = p->ImageKey;
    tab_.CutCheck->setChecked(p->FitCrop != 0);
    editor_.ShowSizeInfo();
    for (const AlbumImage& picture : album_.Pictures)
        if (picture.Key == key) tab_.FreeText->setText(QString::fromStdString(picture.Comment));
}

void PlacementPanel::FreeTextChange() {
    const Placement* p = selected();
    if (!p) return;
    const int32_t key = p->ImageKey;
    for (AlbumImage& picture : album_.Pictures) {
        if (picture.Key != key) continue;
        std::string before = picture.Comment;
        picture.Comment = tab_.FreeText->text().toStdString();
        Timer1->start();  // restarts a running delay
        // Loading the caption of a newly selected placement comes here too, changing nothing.
        if (before != picture.Comment && tab_.history())
            tab_.record(new CaptionCommand(key, std::move(before), picture.Comment,
                                           tab_.history()->editRun()));
    }
}

void PlacementPanel::Timer1Timer() {
    Timer1->stop();
    if (tab_.history()) tab_.history()->endEditRun();
    tab_.PaintBox2Paint();
}

void PlacementPanel::CutCheckClick() {
    Placement* p = selected();
    if (!p) return;
    PlacementsSnapshot before = PlacementsSnapshot::of(album_);
    p->FitCrop = tab_.CutCheck->isChecked() ? 1 : 0;
    tab_.record(new FitCropCommand(album_, std::move(before)));
    editor_.ShowSizeInfo();  // cropping changes the resolution the print gets
    tab_.PaintBox2Paint();
}

void PlacementPanel::Lschen1Click() {
    if (!selected()) return;
    // No question: the picture stays in the album and can be placed again.
    PlacementsSnapshot before = PlacementsSnapshot::of(album_);
    if (DeleteSelectedPlacement(album_)) editor_.SelectPlacement(-1);
    tab_.record(new DeletePlacementCommand(album_, std::move(before)));
    tab_.PaintBox2Paint();
}

void PlacementPanel::ShowBigBtnClick() {
    const Placement* p = selected();
    if (!p) return;
    const int32_t index = pictureIndexOfKey(album_, p->ImageKey);
    const EditorHooks hooks = editor_.hooks();
    if (index < 0 || !hooks.showPicture) return;
    // The whole picture as the album shows it, made now (or found in the cache); the viewer
    // shares its pixels instead of copying them.
    const AlbumImage& picture = album_.Pictures[static_cast<size_t>(index)];
    ImageBuffer whole;
    album_.getnumdib(picture.Key, whole);
    if (!whole.valid()) return;
    hooks.showPicture(whole, QString::fromStdString(picture.FileName));
}

void PlacementPanel::ChangePosSizeBtnClick() {
    if (!selected()) return;
    KoordEdForm->fill(*selected());
    const int result = dialogRunner_ ? dialogRunner_(*KoordEdForm) : KoordEdForm->exec();
    // The dialog is modal, but the album may still have changed under it; look again.
    Placement* p = selected();
    if (result != QDialog::Accepted || !p) return;
    PlacementsSnapshot before = PlacementsSnapshot::of(album_);
    KoordEdForm->fields().apply(*p);  // exactly as typed: no grid, no resolution check
    tab_.record(new PositionDialogCommand(album_, std::move(before)));
    editor_.ShowSizeInfo();
    tab_.PaintBox2Paint();
}

void PlacementPanel::OrdeneBtnClick() {
    const PrinterPage page = tab_.printerPage();
    PlacementsSnapshot before = PlacementsSnapshot::of(album_);
    const std::vector<uint32_t> changed =
        arrangePage(album_, tab_.APageEd->value(), pageWidthInches(page), pageHeightInches(page),
                    tab_.RandEd->value(), tab_.SpaceED->value());
    if (changed.empty()) return;
    for (uint32_t i : changed) editor_.changequal(i);
    tab_.record(new ArrangePageCommand(album_, std::move(before)));
    editor_.ShowSizeInfo();
    tab_.PaintBox2Paint();
}

void PlacementPanel::OvertakeallClick() {
    PlacementsSnapshot before = PlacementsSnapshot::of(album_);
    const std::vector<uint32_t> added =
        overtakeAll(album_, tab_.APageEd->value(), pageWidthInches(tab_.printerPage()),
                    tab_.DBreiteED->value(), tab_.DHocheED->value(), tab_.CutDefault->isChecked());
    for (uint32_t i : added) editor_.changequal(i);
    if (!added.empty()) {
        editor_.SelectPlacement(static_cast<int32_t>(added.back()));
        editor_.BringAkInFront();
    }
    tab_.record(new PlaceAllPicturesCommand(album_, std::move(before)));
    tab_.PaintBox2Paint();
}

}  // namespace pr
