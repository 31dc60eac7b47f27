#include "gui/app/ImageButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace pr {

ImageButton::ImageButton(const QPixmap& normal, const QPixmap& pressed, QWidget* parent)
    : QWidget(parent), normal_(normal), pressedPic_(pressed) {
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_OpaquePaintEvent, !normal_.hasAlphaChannel());
}

QSize ImageButton::sizeHint() const {
    return normal_.deviceIndependentSize().toSize();
}

void ImageButton::showPressed(bool pressed) {
    if (pressedShown_ == pressed) return;
    pressedShown_ = pressed;
    update();
}

void ImageButton::MouseDown() {
    showPressed(true);
    pressed_ = true;
}

void ImageButton::MouseMove(const QPoint& pos) {
    if (!pressed_) return;
    // Inside in the picture's own coordinates: right and bottom edges excluded.
    const bool inside = pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() < height();
    showPressed(inside);
}

void ImageButton::MouseUp() {
    showPressed(false);
    pressed_ = false;
}

void ImageButton::Click() {
    showPressed(false);
    pressed_ = false;
    emit clicked();
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    MouseDown();
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
    MouseMove(event->position().toPoint());
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    const bool wasPressed = pressed_;
    // The click runs first, as with any button: "exit" may open a modal question from inside it,
    // and the window (with this button) may be gone once that returns.
    QPointer<ImageButton> self(this);
    if (wasPressed && rect().contains(event->position().toPoint())) Click();
    if (self) MouseUp();
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, pressedShown_ ? pressedPic_ : normal_);
}

}  // namespace pr
