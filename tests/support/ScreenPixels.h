#pragma once
// What a widget really shows: its visible part cut from the window as the window system holds it
// (under the offscreen platform, the window's backing store). QWidget::grab() would paint the
// widget afresh from its current state and so never see a stale picture.

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace testsupport {

inline QImage shownOnScreen(QWidget* widget) {
    QWidget* top = widget->window();
    QScreen* screen = top->screen() ? top->screen() : QGuiApplication::primaryScreen();
    const QImage whole = screen->grabWindow(top->winId()).toImage();
    const QRect visible = widget->visibleRegion().boundingRect();
    const QRect area(widget->mapTo(top, visible.topLeft()), visible.size());
    return whole.copy(area);
}

}  // namespace testsupport
