#pragma once
// The painted surface of the thumbnail grid: it hands painting, mouse and keys to its ThumbGrid.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWidget>

#include "gui/browse/ThumbGrid.h"

namespace pr {

class ThumbGridPaintBox : public QWidget {
public:
    ThumbGridPaintBox(ThumbGrid& grid, QWidget* parent) : QWidget(parent), grid_(grid) {
        setObjectName(QStringLiteral("PaintBox4"));
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        grid_.paintCells(painter, event->rect());
    }
    void mousePressEvent(QMouseEvent* event) override {
        setFocus(Qt::MouseFocusReason);
        grid_.pressAt(event->position().toPoint());
    }
    // Qt turns the second press of a double-click into this event; it selects as a press would.
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        grid_.pressAt(event->position().toPoint());
        grid_.doubleClicked();
    }
    void mouseMoveEvent(QMouseEvent*) override { grid_.announceStatus(); }
    void keyPressEvent(QKeyEvent* event) override {
        if (!grid_.handleKey(event->key())) QWidget::keyPressEvent(event);
    }
    // The grid itself scrolls by its own step.
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }

private:
    ThumbGrid& grid_;
};

}  // namespace pr
