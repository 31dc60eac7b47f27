#pragma once
// TPrintForm ("Bild drucken..."): the dialog of a single-picture print. It chooses the printed size
// as the whole page ("Seite voll nutzen") or as percentages of the page ("Benutzerdefiniert"),
// keeps the proportions and centres if wanted, and shows the sheet in a small preview. Made for
// one print and released afterwards; the four choices and the two percentages are kept between
// runs in the settings group "TPrintForm".
//
// The picture is a copy of the caller's record and shares its pixels (ImageBuffer.h). The printer
// is the window's, so "Drucker &einrichten..." changes the page of the layout too.

#include <QDialog>
#include <functional>

#include "core/imaging/ImageBuffer.h"
#include "core/layout/PageGeometry.h"
#include "gui/output/SinglePictureLayout.h"
#include "gui/toolkit/StoredValues.h"

class QCheckBox;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace pr {

class Prompter;

class TPrintForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPreviewSide = 190;

    TPrintForm(const ImageBuffer& picture, QPrinter& printer, Prompter& prompter,
               QWidget* parent = nullptr);
    ~TPrintForm() override;

    // For tests: a fixed page instead of the printer's printable area.
    void setPageSource(std::function<PrinterPage()> source);
    PrinterPage page() const;

    SinglePictureChoice choice() const;
    // Where the picture goes on the printable page, in printer pixels.
    PictureRect printRect() const;

    // Prints the picture alone with `jobTitle`. Printing to a file asks for the PDF's name first
    // (offered beside `picturePath`). False when that was cancelled or the printer failed; a
    // failure is reported.
    bool printPicture(const QString& jobTitle, const QString& picturePath);

    void BreitEditChange();
    void HochEditChange();
    void UserdefCheckClick();
    void PrintSetupBtnClick();
    void PrintPaintBoxPaint(QPainter& painter);

    QRadioButton* UseFullCheck = nullptr;
    QRadioButton* UserdefCheck = nullptr;
    QSpinBox* BreitEdit = nullptr;
    QSpinBox* HochEdit = nullptr;
    QCheckBox* SverhCheck = nullptr;
    QCheckBox* ZentrCheck = nullptr;
    QWidget* PrintPaintBox = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* PrintSetupBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void optionClicked();

    ImageBuffer picture_;
    QPrinter& printer_;
    Prompter& prompter_;
    std::function<PrinterPage()> pageSource_;
    StoredValues stored_;
    bool guard_ = false;
    bool shown_ = false;
};

}  // namespace pr
