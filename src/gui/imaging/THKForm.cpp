#include "gui/imaging/THKForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "core/album/AdjustSession.h"

namespace pr {

THKForm::THKForm(AdjustSession& session, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), session_(session), redraw_(std::move(redraw)) {
    setObjectName(QStringLiteral("HKForm"));
    setWindowTitle(QStringLiteral("Helligkeit, Kontrast und Sättigung"));

    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(1, 260);
    TrackBar1 = addSlider(grid, 0, QStringLiteral("Helligkeit:"), AdjustSession::kBrightnessMin,
                          AdjustSession::kBrightnessMax, AdjustSession::kBrightnessStart);
    TrackBar2 = addSlider(grid, 1, QStringLiteral("Kontrast:"), AdjustSession::kContrastMin,
                          AdjustSession::kContrastMax, AdjustSession::kContrastStart);
    TrackBar3 = addSlider(grid, 2, QStringLiteral("Sättigung:"), AdjustSession::kSaturationMin,
                          AdjustSession::kSaturationMax, AdjustSession::kSaturationStart);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar2->setObjectName(QStringLiteral("TrackBar2"));
    TrackBar3->setObjectName(QStringLiteral("TrackBar3"));

    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);  // Enter means OK wherever the focus is
        return b;
    };
    PreviewBtn = button("PreviewBtn", QStringLiteral("&Vorschau"));
    BacksetBitBtn3 = button("BacksetBitBtn3", QStringLiteral("&Zurücksetzen"));
    OkBitBtn1 = button("OkBitBtn1", QStringLiteral("&OK"));
    CancelBitBtn2 = button("CancelBitBtn2", QStringLiteral("A&bbrechen"));
    OkBitBtn1->setDefault(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(PreviewBtn);
    buttons->addWidget(BacksetBitBtn3);
    buttons->addStretch(1);
    buttons->addWidget(OkBitBtn1);
    buttons->addWidget(CancelBitBtn2);

    auto* row = new QHBoxLayout(this);
    row->addLayout(grid, 1);
    row->addSpacing(12);
    row->addLayout(buttons);

    connect(PreviewBtn, &QPushButton::clicked, this, [this] { TrackBar1Change(); });
    connect(BacksetBitBtn3, &QPushButton::clicked, this, [this] { BacksetBitBtn3Click(); });
    connect(OkBitBtn1, &QPushButton::clicked, this, [this] { OkBitBtn1Click(); });
    connect(CancelBitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

QSlider* THKForm::addSlider(QGridLayout* grid, int row, const QString& label, int min, int max,
                            int start) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(min, max);
    slider->setValue(start);
    slider->setPageStep(10);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval((max - min) / 10);
    auto* caption = new QLabel(label, this);
    caption->setBuddy(slider);
    // The number beside the slider only shows the position; nothing is computed until a button
    // is pressed.
    auto* value = new QLabel(QString::number(start), this);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("-000")));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(slider, &QSlider::valueChanged, value,
            [value](int v) { value->setText(QString::number(v)); });
    grid->addWidget(caption, row, 0);
    grid->addWidget(slider, row, 1);
    grid->addWidget(value, row, 2);
    return slider;
}

void THKForm::setPositions(int brightness, int contrast, int saturation) {
    TrackBar1->setValue(brightness);
    TrackBar2->setValue(contrast);
    TrackBar3->setValue(saturation);
}

void THKForm::applyPositions() {
    session_.preview(TrackBar1->value(), TrackBar2->value(), TrackBar3->value());
    if (redraw_) redraw_();
}

void THKForm::TrackBar1Change() {
    applyPositions();
}

void THKForm::BacksetBitBtn3Click() {
    setPositions(AdjustSession::kBrightnessStart, AdjustSession::kContrastStart,
                 AdjustSession::kSaturationStart);
}

void THKForm::OkBitBtn1Click() {
    applyPositions();
    accept();
}

}  // namespace pr
