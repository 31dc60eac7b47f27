#include "gui/layout/PrintSizeCommands.h"

#include <QMenu>
#include <vector>

#include "core/layout/PageGeometry.h"
#include "core/layout/PlacementEditing.h"
#include "core/layout/PrintFormat.h"
#include "gui/layout/BildPopup.h"
#include "gui/layout/PlacementEditor.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/undo/FillPageCommand.h"
#include "gui/undo/PrintFormatCommand.h"

namespace pr {

PrintSizeCommands::PrintSizeCommands(TLayoutTab& tab, PlacementEditor& editor, Album& album)
    : QObject(&tab), tab_(tab), editor_(editor), album_(album) {
    BildPopup* menu = editor_.popup();
    connect(menu->FormatMenu, &QMenu::triggered, this,
            [this](QAction* action) { setFormat(action->data().toInt()); });
    connect(menu->FillPage, &QAction::triggered, this, [this] { fillPage(); });
}

void PrintSizeCommands::setFormat(int format) {
    const int32_t i = album_.SelectedPlacement;
    if (i < 0 || static_cast<uint32_t>(i) >= album_.placementCount()) return;
    Placement& p = *album_.placementAt(static_cast<uint32_t>(i));
    const PrinterPage page = tab_.printerPage();
    const double pageW = pageWidthInches(page), pageH = pageHeightInches(page);
    FrameRect size{0, 0, pageW, pageH};
    const std::vector<PrintFormat>& formats = printFormats();
    if (format >= 0 && static_cast<size_t>(format) < formats.size()) {
        // The picture as it is shown, after its quarter turns.
        const int32_t picture = pictureIndexOfKey(album_, p.ImageKey);
        const AlbumImage* shown =
            picture >= 0 ? &album_.Pictures[static_cast<size_t>(picture)] : nullptr;
        const bool landscape = shown && shown->width() > shown->height();
        size = formatFrame(formats[static_cast<size_t>(format)], landscape);
    } else if (format != -1) {
        return;
    }
    PlacementsSnapshot before = PlacementsSnapshot::of(album_);
    const FrameRect r =
        resizedOnPage({p.Left, p.Top, p.Width, p.Height}, size.width, size.height, pageW, pageH);
    p.Left = r.left;
    p.Top = r.top;
    p.Width = r.width;
    p.Height = r.height;
    editor_.changequal(static_cast<uint32_t>(i));
    tab_.record(new PrintFormatCommand(album_, std::move(before)));
    editor_.ShowSizeInfo();
    tab_.PaintBox2Paint();
}

int PrintSizeCommands::fillPage() {
    const int32_t i = album_.SelectedPlacement;
    if (i < 0 || static_cast<uint32_t>(i) >= album_.placementCount()) return 0;
    const Placement original = *album_.placementAt(static_cast<uint32_t>(i));
    std::vector<FrameRect> occupied;
    for (uint32_t k = 0; k < album_.placementCount(); ++k) {
        const Placement& q = *album_.placementAt(k);
        if (q.Page == original.Page) occupied.push_back({q.Left, q.Top, q.Width, q.Height});
    }
    const PrinterPage page = tab_.printerPage();
    const std::vector<FrameRect> cells = fillPagePositions(
        original.Width, original.Height, pageWidthInches(page), pageHeightInches(page),
        tab_.RandEd->value(), tab_.SpaceED->value(), occupied);
    PlacementsSnapshot before = PlacementsSnapshot::of(album_);
    int placed = 0;
    for (const FrameRect& cell : cells) {
        if (AddPlacement(album_, original.ImageKey, original.Page, cell.left, cell.top, cell.width,
                         cell.height, original.FitCrop != 0) < 0)
            break;  // the placement array reported it
        ++placed;
    }
    tab_.record(new FillPageCommand(album_, std::move(before)));
    const EditorHooks& hooks = editor_.hooks();
    if (hooks.statusText)
        hooks.statusText(placed == 0 ? QString::fromUtf8("Seite füllen: kein Platz für eine Kopie")
                         : placed == 1
                             ? QString::fromUtf8("Seite füllen: 1 Kopie platziert")
                             : QString::fromUtf8("Seite füllen: %1 Kopien platziert").arg(placed));
    tab_.PaintBox2Paint();
    return placed;
}

}  // namespace pr
