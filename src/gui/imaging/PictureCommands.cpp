#include "gui/imaging/PictureCommands.h"

#include "core/album/RotationCommand.h"
#include "core/imaging/AdjustSession.h"
#include "gui/imaging/THKForm.h"
#include "gui/toolkit/Prompter.h"

namespace pr {
namespace {

AlbumImage* pictureWithKey(Album& album, int32_t key) {
    for (AlbumImage& picture : album.Pictures) {
        if (picture.Key == key) return &picture;
    }
    return nullptr;
}

// The picture of the selected placement, which becomes the current record of the placement
// array; null when nothing is selected, the selection is stale or no picture has the key.
AlbumImage* selectedPicture(Album& album) {
    const int32_t selected = album.SelectedPlacement;
    if (selected < 0 || static_cast<uint32_t>(selected) >= album.placementCount()) return nullptr;
    const auto* placement = reinterpret_cast<const Placement*>(album.Placements.Select(selected));
    return pictureWithKey(album, placement->ImageKey);
}

void turnSelected(const PictureCommandContext& context, TurnDirection direction) {
    // Nothing selected, or no memory for the turned picture: the picture is as it was, so there
    // is nothing to redraw. The original reports neither.
    if (!TurnSelectedPicture(context.album, direction, context.progress)) return;
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
    const int32_t key = picture->Key;

    AdjustSession session;
    if (!session.begin(picture->Image)) {
        context.prompter.message(QString::fromUtf8(kBackupFailedText), QString(),
                                 Prompter::Icon::Error, Prompter::Button::Ok);
        return;
    }

    // The preview changes the pixels and the colour table that the album's record shares; its
    // logical palette is a field of its own, so it is brought along for palette displays.
    auto showPreview = [&context, &session, key] {
        if (AlbumImage* p = pictureWithKey(context.album, key); p && p->Image.hasPalette) {
            p->Image.palette = session.work().palette;
            p->Image.paletteHandle = session.work().paletteHandle;
        }
        if (context.redraw) context.redraw();
    };

    THKForm form(session, showPreview, context.parent);
    form.setPositions(AdjustSession::kBrightnessStart, AdjustSession::kContrastStart,
                      AdjustSession::kSaturationStart);
    const bool keep = form.exec() == QDialog::Accepted;

    // Looked up again: the dialog is modal, but the album's picture array is not ours to trust
    // across an event loop.
    picture = pictureWithKey(context.album, key);
    if (!picture) return;
    if (keep) {
        session.accept(picture->Image);
    } else {
        session.cancel(picture->Image);
        if (context.redraw) context.redraw();
    }
}

}  // namespace pr
