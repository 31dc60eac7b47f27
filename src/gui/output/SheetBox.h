#pragma once
// The preview sheet of TPrintForm, painted by the form.

#include <QPainter>
#include <QWidget>

#include "gui/output/TPrintForm.h"

namespace pr {

class SheetBox : public QWidget {
public:
    explicit SheetBox(TPrintForm& form, QWidget* parent) : QWidget(parent), form_(form) {
        setObjectName(QStringLiteral("PrintPaintBox"));
        setFixedSize(TPrintForm::kPreviewSide, TPrintForm::kPreviewSide);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        form_.PrintPaintBoxPaint(painter);
    }

private:
    TPrintForm& form_;
};

}  // namespace pr
