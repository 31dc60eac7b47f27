#pragma once
// TKoordEdForm ("Größe und Position ändern"): position and size of a placement in millimetres,
// in six linked fields. Made once with the layout tab and reused; the fields keep their last
// values. The field arithmetic and the exact values live in KoordFields; the edits show them
// rounded to hundredths.

#include <QDialog>

#include "core/layout/KoordFields.h"

class QDoubleSpinBox;
class QPushButton;

namespace pr {

class Prompter;

class TKoordEdForm : public QDialog {
    Q_OBJECT
public:
    TKoordEdForm(Prompter& prompter, QWidget* parent = nullptr);

    // The placement's position and size into all six fields.
    void fill(const Placement& placement);
    const KoordFields& fields() const { return fields_; }
    QDoubleSpinBox* edit(KoordFields::Field f) const { return edits_[f]; }

    void OkBtnClick();

    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fieldChanged(KoordFields::Field f);
    void show(KoordFields::Field f);

    Prompter& prompter_;
    KoordFields fields_;
    QDoubleSpinBox* edits_[KoordFields::FieldCount] = {};
    // True while a change handler updates another field, so the update starts no chain.
    bool EditGuard = false;
};

}  // namespace pr
