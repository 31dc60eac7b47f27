#pragma once
// THKForm ("Helligkeit, Kontrast und Sättigung"): three sliders over a running AdjustSession.
//
// The sliders do nothing by themselves; only the buttons act. "&Vorschau" shows the three
// positions on the album picture (replacing the previous preview), then redraws (strip first,
// then page) so that the preview shows where the picture is placed. "&Zurücksetzen" only
// moves the sliders back to their starts. "&OK" applies the positions once more, redraws and
// closes with Accepted; "A&bbrechen", Escape and the close box close with Rejected.
//
// The dialog neither begins nor ends the session: the caller begins it before showing the dialog
// and accepts or cancels it by the result (HelligkeitKontrastundSttigung1Click).

#include <QDialog>
#include <functional>

class QGridLayout;
class QPushButton;
class QSlider;

namespace pr {

class AdjustSession;

class THKForm : public QDialog {
    Q_OBJECT
public:
    // `session` must have begun and outlive the dialog; `redraw` may be empty.
    THKForm(AdjustSession& session, std::function<void()> redraw, QWidget* parent = nullptr);

    // "&Vorschau".
    void TrackBar1Change();
    // "&Zurücksetzen".
    void BacksetBitBtn3Click();
    // "&OK".
    void OkBitBtn1Click();

    // The slider positions (brightness, contrast, saturation), e.g. set by the caller before the
    // dialog is shown.
    void setPositions(int brightness, int contrast, int saturation);

    QSlider* TrackBar1 = nullptr;  // "Helligkeit:"
    QSlider* TrackBar2 = nullptr;  // "Kontrast:"
    QSlider* TrackBar3 = nullptr;  // "Sättigung:"
    QPushButton* PreviewBtn = nullptr;
    QPushButton* BacksetBitBtn3 = nullptr;
    QPushButton* OkBitBtn1 = nullptr;
    QPushButton* CancelBitBtn2 = nullptr;

private:
    QSlider* addSlider(QGridLayout* grid, int row, const QString& label, int min, int max,
                       int start);
    void applyPositions();

    AdjustSession& session_;
    std::function<void()> redraw_;
};

}  // namespace pr
