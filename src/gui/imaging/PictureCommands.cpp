#include "gui/imaging/PictureCommands.h"

#include "core/album/AdjustSession.h"
#include "core/album/RotationCommand.h"
#include "core/imaging/ImageBackup.h"
#include "gui/imaging/THKForm.h"
#include "gui/toolkit/Prompter.h"

namespace pr {
namespace {

// The picture of the selected placement, which becomes the current record of the placement
// array; null when nothing is selected, the selection is stale or no picture has the key.
AlbumImage* selectedPicture(Album& album) {
    const int32_t selected = album.SelectedPlacement;
    if (selected < 0 || static_cast<uint32_t>(selected) >= album.placementCount()) return nullptr;
    const auto* placement = reinterpret_cast<const Placement*>(album.Placements.Select(selected));
    return album.pictureWithKey(placement->ImageKey);
}

void turnSelected(const PictureCommandContext& context, TurnDirection direction) {
    // Nothing selected: the picture is as it was, so there is nothing to redraw.
    if (!TurnSelectedPicture(context.album, direction)) return;
    if (context.redraw) context.redraw();
}

}  // namespace

void Nachlinksrotieren901Click(const PictureCommandContext& context) {
    turnSelected(context, TurnDirection::Left);
}

void Nachrechtsrotieren901Click(const PictureCommandContext& context) {
    turnSelected(context, TurnDirection::Right);
}

void HelligkeitKontrastundSttigung1Click(const PictureCommandContext& context) {
    AlbumImage* picture = selectedPicture(context.album);
    if (!picture) return;

    // The dialog changes only the picture's preview adjustment; the page and the strip show it
    // through their renditions, and nothing is copied or decoded to begin.
    AdjustSession session;
    if (!session.begin(context.album, picture->Key)) {
        context.prompter.message(QString::fromUtf8(kBackupFailedText), QString(),
                                 Prompter::Icon::Error, Prompter::Button::Ok);
        return;
    }
    THKForm form(session, context.redraw, context.parent);
    form.setPositions(AdjustSession::kBrightnessStart, AdjustSession::kContrastStart,
                      AdjustSession::kSaturationStart);
    if (form.exec() == QDialog::Accepted) {
        // The page shows the adjustment already; drawing it again once it is in the recipe lets
        // the window see a change that saving keeps.
        if (session.accept() && context.redraw) context.redraw();
    } else {
        session.cancel();
        if (context.redraw) context.redraw();
    }
}

}  // namespace pr
