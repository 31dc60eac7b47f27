#include "gui/app/TabHeader.h"

#include <QHBoxLayout>
#include <QLabel>

namespace pr {

TabHeader::TabHeader(const QString& text, QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, headerColour());
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    label_ = new QLabel(this);
    // The header lines quote button captions; plain text keeps quotes and ampersands literal.
    label_->setTextFormat(Qt::PlainText);
    label_->setText(text);
    QFont bold = label_->font();
    bold.setBold(true);
    label_->setFont(bold);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(label_);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QString TabHeader::text() const {
    return label_->text();
}

}  // namespace pr
