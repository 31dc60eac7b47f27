#pragma once
// The picture surface of the viewer, painted by the form.

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include "gui/output/TViewPicForm.h"

namespace pr {

class ViewPaintBox : public QWidget {
public:
    ViewPaintBox(TViewPicForm* form, QWidget* parent) : QWidget(parent), form_(form) {
        setObjectName(QStringLiteral("PaintBox1"));
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        form_->PaintBox1Paint(painter, event->rect());
    }

private:
    TViewPicForm* form_;
};

}  // namespace pr
