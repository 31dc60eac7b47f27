#include "gui/output/TPrintForm.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "gui/layout/PrinterPageSource.h"
#include "gui/output/PrinterOutput.h"
#include "gui/output/SheetBox.h"
#include "gui/toolkit/Prompter.h"
#include "render/QPainterDibTarget.h"

namespace pr {

namespace {

QSpinBox* percentEdit(const char* name, QWidget* parent) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setRange(1, 100);
    edit->setValue(50);
    return edit;
}

// trunc of a percentage, kept inside what a field can take before the field limits it.
int truncPercent(double v) {
    if (!(v > 0)) return 0;
    return static_cast<int>(std::min(v, 1000.0));
}

}  // namespace

TPrintForm::TPrintForm(const ImageBuffer& picture, QPrinter& printer, Prompter& prompter,
                       QWidget* parent)
    : QDialog(parent),
      picture_(picture),
      printer_(printer),
      prompter_(prompter),
      stored_(QStringLiteral("TPrintForm")) {
    setObjectName(QStringLiteral("PrintForm"));
    setWindowTitle(QStringLiteral("Bild drucken..."));

    auto* sizeBox = new QGroupBox(QStringLiteral("Druckgröße"), this);
    UseFullCheck = new QRadioButton(QStringLiteral("Seite voll nutzen"), sizeBox);
    UseFullCheck->setObjectName(QStringLiteral("UseFullCheck"));
    UseFullCheck->setChecked(true);
    UserdefCheck = new QRadioButton(QStringLiteral("Benutzerdefiniert"), sizeBox);
    UserdefCheck->setObjectName(QStringLiteral("UserdefCheck"));
    BreitEdit = percentEdit("BreitEdit", sizeBox);
    HochEdit = percentEdit("HochEdit", sizeBox);
    auto* s = new QGridLayout(sizeBox);
    s->addWidget(UseFullCheck, 0, 0, 1, 2);
    s->addWidget(UserdefCheck, 1, 0, 1, 2);
    auto* breitLabel = new QLabel(QStringLiteral("Breite in %:"), sizeBox);
    breitLabel->setBuddy(BreitEdit);
    auto* hochLabel = new QLabel(QStringLiteral("Höhe in %:"), sizeBox);
    hochLabel->setBuddy(HochEdit);
    s->addWidget(breitLabel, 2, 0);
    s->addWidget(BreitEdit, 2, 1);
    s->addWidget(hochLabel, 3, 0);
    s->addWidget(HochEdit, 3, 1);

    auto* optionBox = new QGroupBox(QStringLiteral("Druckoptionen"), this);
    SverhCheck = new QCheckBox(QStringLiteral("Seitenverhältnis beibehalten"), optionBox);
    SverhCheck->setObjectName(QStringLiteral("SverhCheck"));
    SverhCheck->setChecked(true);
    ZentrCheck = new QCheckBox(QStringLiteral("Zentrierte Ausgabe"), optionBox);
    ZentrCheck->setObjectName(QStringLiteral("ZentrCheck"));
    ZentrCheck->setChecked(true);
    auto* o = new QVBoxLayout(optionBox);
    o->addWidget(SverhCheck);
    o->addWidget(ZentrCheck);

    PrintPaintBox = new SheetBox(*this, this);
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(new QLabel(QStringLiteral("Vorschau:"), this));
    previewColumn->addWidget(PrintPaintBox);
    previewColumn->addStretch(1);

    auto* left = new QVBoxLayout;
    left->addWidget(sizeBox);
    left->addWidget(optionBox);
    left->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(previewColumn);

    OkBtn = new QPushButton(QStringLiteral("&OK"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    PrintSetupBtn = new QPushButton(QStringLiteral("Drucker &einrichten..."), this);
    PrintSetupBtn->setObjectName(QStringLiteral("PrintSetupBtn"));
    CancelBtn = new QPushButton(QStringLiteral("A&bbrechen"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OkBtn);
    buttons->addWidget(PrintSetupBtn);
    buttons->addStretch(1);
    buttons->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    stored_.addChecked(QStringLiteral("UseFullCheck.Checked"), UseFullCheck);
    stored_.addChecked(QStringLiteral("UserdefCheck.Checked"), UserdefCheck);
    stored_.addValue(QStringLiteral("BreitEdit.Value"), BreitEdit);
    stored_.addValue(QStringLiteral("HochEdit.Value"), HochEdit);
    stored_.addChecked(QStringLiteral("SverhCheck.Checked"), SverhCheck);
    stored_.addChecked(QStringLiteral("ZentrCheck.Checked"), ZentrCheck);
    // Restored before the handlers are connected: the stored pair of percentages comes back as it
    // was, and the first show brings them in line with this picture.
    stored_.restore();

    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(PrintSetupBtn, &QPushButton::clicked, this, &TPrintForm::PrintSetupBtnClick);
    connect(BreitEdit, qOverload<int>(&QSpinBox::valueChanged), this, &TPrintForm::BreitEditChange);
    connect(HochEdit, qOverload<int>(&QSpinBox::valueChanged), this, &TPrintForm::HochEditChange);
    connect(UserdefCheck, &QRadioButton::clicked, this, &TPrintForm::UserdefCheckClick);
    for (QAbstractButton* b :
         {static_cast<QAbstractButton*>(UseFullCheck), static_cast<QAbstractButton*>(SverhCheck),
          static_cast<QAbstractButton*>(ZentrCheck)})
        connect(b, &QAbstractButton::clicked, this, &TPrintForm::optionClicked);
}

TPrintForm::~TPrintForm() {
    // Kept whether the dialog was confirmed or cancelled, as the form always kept them.
    stored_.save();
}

void TPrintForm::setPageSource(std::function<PrinterPage()> source) {
    pageSource_ = std::move(source);
}

PrinterPage TPrintForm::page() const {
    return pageSource_ ? pageSource_() : PrinterPageSource::pageOf(printer_);
}

SinglePictureChoice TPrintForm::choice() const {
    SinglePictureChoice c;
    c.fullPage = !UserdefCheck->isChecked();
    c.keepAspect = SverhCheck->isChecked();
    c.centred = ZentrCheck->isChecked();
    c.widthPercent = BreitEdit->value();
    c.heightPercent = HochEdit->value();
    return c;
}

PictureRect TPrintForm::printRect() const {
    const PrinterPage p = page();
    return singlePictureRect(p.printableWidthPx, p.printableHeightPx, picture_.width(),
                             picture_.height(), choice());
}

void TPrintForm::BreitEditChange() {
    if (guard_) return;
    guard_ = true;
    if (SverhCheck->isChecked()) {
        const PrinterPage p = page();
        const double h =
            matchingHeightPercent(BreitEdit->value(), picture_.width(), picture_.height(),
                                  p.printableWidthPx, p.printableHeightPx);
        HochEdit->setValue(truncPercent(h));
        // Once, from the limited height: the pair stays in proportion inside 1..100.
        if (h > 100 || h < 1)
            BreitEdit->setValue(truncPercent(
                matchingWidthPercent(HochEdit->value(), picture_.width(), picture_.height(),
                                     p.printableWidthPx, p.printableHeightPx)));
    }
    PrintPaintBox->update();
    guard_ = false;
}

void TPrintForm::HochEditChange() {
    if (guard_) return;
    guard_ = true;
    if (SverhCheck->isChecked()) {
        const PrinterPage p = page();
        const double w =
            matchingWidthPercent(HochEdit->value(), picture_.width(), picture_.height(),
                                 p.printableWidthPx, p.printableHeightPx);
        BreitEdit->setValue(truncPercent(w));
        if (w > 100 || w < 1)
            HochEdit->setValue(truncPercent(
                matchingHeightPercent(BreitEdit->value(), picture_.width(), picture_.height(),
                                      p.printableWidthPx, p.printableHeightPx)));
    }
    PrintPaintBox->update();
    guard_ = false;
}

void TPrintForm::UserdefCheckClick() {
    if (UserdefCheck->isChecked()) BreitEditChange();
    PrintPaintBox->update();
}

void TPrintForm::optionClicked() {
    // What the sheet preview's paint ran at its end; run here so that painting never changes a
    // field (which would ask for the next paint, and so on).
    BreitEditChange();
    PrintPaintBox->update();
}

void TPrintForm::PrintSetupBtnClick() {
    prompter_.pageSetupDialog(printer_);
    PrintPaintBox->update();
}

void TPrintForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    BreitEditChange();
}

void TPrintForm::PrintPaintBoxPaint(QPainter& painter) {
    const PrinterPage p = page();
    const PictureRect sheet = previewSheet(PrintPaintBox->width(), PrintPaintBox->height(),
                                           p.printableWidthPx, p.printableHeightPx);
    painter.fillRect(PrintPaintBox->rect(), palette().color(QPalette::Window));
    painter.fillRect(QRect(sheet.x, sheet.y, sheet.w, sheet.h), Qt::white);
    if (!picture_.valid()) return;
    const PictureRect r =
        singlePictureRect(sheet.w, sheet.h, picture_.width(), picture_.height(), choice());
    drawDib(painter, sheet.x + r.x, sheet.y + r.y, r.w, r.h, picture_, 0, 0, picture_.width(),
            picture_.height(), true, true);
}

bool TPrintForm::printPicture(const QString& jobTitle, const QString& picturePath) {
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        // A file as printer: ask where it goes each time rather than overwrite the last one.
        const QFileInfo info(picturePath);
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!picturePath.isEmpty()) folder = info.absolutePath();
        const QString suggestion = QDir(folder).filePath(
            (picturePath.isEmpty() ? jobTitle : info.completeBaseName()) + QStringLiteral(".pdf"));
        const QString file =
            prompter_.saveFileName(QStringLiteral("Bild als PDF drucken"), suggestion,
                                   QStringLiteral("PDF-Dateien (*.pdf)"));
        if (file.isEmpty()) return false;
        printer_.setOutputFileName(file);
    }
    printer_.setDocName(jobTitle);
    const PrinterPage p = PrinterPageSource::pageOf(printer_);
    const PrinterOutputResult printed = printOnPrinter(printer_, [&](QPagedPaintDevice& device) {
        QPainter painter;
        if (!painter.begin(&device)) return false;
        const PictureRect r = singlePictureRect(p.printableWidthPx, p.printableHeightPx,
                                                picture_.width(), picture_.height(), choice());
        drawDib(painter, r.x, r.y, r.w, r.h, picture_, 0, 0, picture_.width(), picture_.height(),
                false, true);
        return painter.end();
    });
    if (!printed.ok) {
        QString text = QStringLiteral("Das Bild konnte nicht gedruckt werden.");
        if (!printed.fileMessage.isEmpty()) text += QLatin1Char('\n') + printed.fileMessage;
        prompter_.error(text);
    }
    return printed.ok;
}

}  // namespace pr
