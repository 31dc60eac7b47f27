#include "gui/toolkit/InputOnlyFor.h"

#include <QCoreApplication>
#include <QEvent>

namespace pr {

namespace {

bool isInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputOnlyFor::InputOnlyFor(QWidget* target) : target_(target) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputOnlyFor::~InputOnlyFor() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool InputOnlyFor::holdsBack(QObject* watched, const QEvent* event) const {
    if (!isInput(event->type())) return false;
    if (!target_ || !watched->isWidgetType()) return true;
    const auto* widget = static_cast<QWidget*>(watched);
    return widget != target_ && !target_->isAncestorOf(widget);
}

bool InputOnlyFor::eventFilter(QObject* watched, QEvent* event) {
    if (!holdsBack(watched, event)) return false;
    // A held-back close request is refused, not just lost: the window stays.
    if (event->type() == QEvent::Close) event->ignore();
    return true;
}

}  // namespace pr
