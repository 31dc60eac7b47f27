#include "gui/layout/TKoordEdForm.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/toolkit/Prompter.h"

namespace pr {

namespace {

struct FieldText {
    const char* name;
    const char* label;
    int row, column;
};

const FieldText kFields[KoordFields::FieldCount] = {
    {"LeftEd", "Links:", 0, 0},   {"TopEd", "Oben:", 0, 1},     {"RightEd", "Rechts:", 1, 0},
    {"BottomEd", "Unten:", 1, 1}, {"BreitEd", "Breite:", 2, 0}, {"HochEd", "Höhe:", 2, 1},
};

// Far beyond any page: the fields have no limits of their own.
constexpr double kNoLimit = 1e9;

}  // namespace

TKoordEdForm::TKoordEdForm(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("KoordEdForm"));
    setWindowTitle(QStringLiteral("Größe und Position ändern"));
    auto* grid = new QGridLayout;
    for (int i = 0; i < KoordFields::FieldCount; ++i) {
        const auto f = static_cast<KoordFields::Field>(i);
        auto* edit = new QDoubleSpinBox(this);
        edit->setObjectName(QLatin1String(kFields[i].name));
        edit->setDecimals(2);
        edit->setRange(-kNoLimit, kNoLimit);
        edit->setSingleStep(0.1);
        edit->setValue(fields_.value(f));
        auto* label = new QLabel(QString::fromUtf8(kFields[i].label), this);
        label->setBuddy(edit);
        const int c = kFields[i].column * 4;
        grid->addWidget(label, kFields[i].row, c);
        grid->addWidget(edit, kFields[i].row, c + 1);
        grid->addWidget(new QLabel(QStringLiteral("mm"), this), kFields[i].row, c + 2);
        edits_[i] = edit;
        connect(edit, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
                [this, f] { fieldChanged(f); });
    }
    grid->setColumnMinimumWidth(3, 16);

    OkBtn = new QPushButton(QStringLiteral("OK"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("A&bbrechen"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OkBtn, &QPushButton::clicked, this, &TKoordEdForm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TKoordEdForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen, not on the window.
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void TKoordEdForm::show(KoordFields::Field f) {
    edits_[f]->setValue(fields_.value(f));
}

void TKoordEdForm::fieldChanged(KoordFields::Field f) {
    if (EditGuard) return;
    const KoordFields::Field other = fields_.set(f, edits_[f]->value());
    EditGuard = true;
    show(other);
    EditGuard = false;
}

void TKoordEdForm::fill(const Placement& placement) {
    fields_.fill(placement);
    EditGuard = true;
    for (int i = 0; i < KoordFields::FieldCount; ++i) show(static_cast<KoordFields::Field>(i));
    EditGuard = false;
}

void TKoordEdForm::OkBtnClick() {
    if (fields_.valid()) {
        accept();
        return;
    }
    prompter_.message(QStringLiteral("Die Koordinaten sind nicht gültig! \"Links\" muss kleiner "
                                     "als \"Rechts\" und \"Oben\" kleiner als \"Unten\" sein!"),
                      QString(), Prompter::Icon::Error, Prompter::Button::Ok);
}

}  // namespace pr
