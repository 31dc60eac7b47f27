#include "gui/layout/EditorHooks.h"

#include <QPointer>
#include <QWidget>

#include "gui/app/TMainForm.h"
#include "gui/output/TViewPicForm.h"

namespace pr {

EditorHooks windowHooks(QWidget* widget) {
    EditorHooks hooks;
    auto* form = widget ? qobject_cast<TMainForm*>(widget->window()) : nullptr;
    if (!form) return hooks;
    QPointer<TMainForm> f(form);
    hooks.statusText = [f](const QString& text) {
        if (f) f->setStatusText(text);
    };
    hooks.cursor = [f](int slot) { return f ? f->cursorSlots().at(slot) : QCursor(); };
    hooks.showPicture = [f](const ImageBuffer& picture, const QString& path) {
        if (f && f->viewPicForm()) f->viewPicForm()->showPicture(picture, path);
    };
    hooks.progress = [f](int percent) {
        if (f) f->SetProStatus(percent);
    };
    return hooks;
}

}  // namespace pr
