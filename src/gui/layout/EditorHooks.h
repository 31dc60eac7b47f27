#pragma once
// What the page editor needs of the main window: the status-bar text, the cursor slots, the
// picture viewer and the progress panel. The window hands them over (PlacementEditor::setHooks);
// the editor never looks for the window. Each piece may be empty: the layout tab also runs
// without a main window (tests).

#include <QCursor>
#include <QString>
#include <functional>

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/Progress.h"

namespace pr {

struct EditorHooks {
    std::function<void(const QString&)> statusText;
    std::function<QCursor(int slot)> cursor;
    std::function<void(const ImageBuffer&, const QString&)> showPicture;
    ProgressFn progress;
};

}  // namespace pr
