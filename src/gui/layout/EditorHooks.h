#pragma once
// What the page editor needs of the main window: the status-bar text, the cursor slots, the
// picture viewer and the progress panel. The layout tab also runs without a main window (tests),
// so each piece is a function; windowHooks() fills them from the main window the widget sits in.

#include <QCursor>
#include <QString>
#include <functional>

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/Progress.h"

class QWidget;

namespace pr {

struct EditorHooks {
    std::function<void(const QString&)> statusText;
    std::function<QCursor(int slot)> cursor;
    std::function<void(const ImageBuffer&, const QString&)> showPicture;
    ProgressFn progress;
};

// The hooks of the main window that holds `widget`; empty functions when it has none.
EditorHooks windowHooks(QWidget* widget);

}  // namespace pr
