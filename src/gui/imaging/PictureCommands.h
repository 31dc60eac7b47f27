#pragma once
// The commands that act on the picture of the selected placement: the quarter turns and the
// brightness/contrast/saturation dialog. The popup menu of a placement and the side-panel buttons
// of the layout tab both call these, so the two ways behave the same.
//
// Each command works on the album's SelectedPlacement and does nothing when there is none. After a
// change it redraws the picture strip and the page through `redraw`; long work moves the progress
// panel through `progress` (may be empty).

#include <QWidget>
#include <functional>

#include "core/album/Album.h"
#include "core/imaging/Progress.h"

namespace pr {

class Prompter;

struct PictureCommandContext {
    Album& album;
    Prompter& prompter;
    QWidget* parent = nullptr;     // owner of the dialog
    std::function<void()> redraw;  // strip first, then page
    ProgressFn progress;           // may be empty
};

// "Nach &links rotieren (90°)..." / "Nach links rotieren...".
void Nachlinksrotieren901Click(const PictureCommandContext& context);
// "Nach &rechts rotieren (90°)..." / "Nach rechts rotieren...".
void Nachrechtsrotieren901Click(const PictureCommandContext& context);
// "&Helligkeit, Kontrast und Sättigung..." / "&Helligkeit, Kontrast...": backup, dialog, keep or
// give back the old pixels.
void HelligkeitKontrastundSttigung1Click(const PictureCommandContext& context);

}  // namespace pr
