#include "gui/output/TOutputTab.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "core/album/QualityCheck.h"
#include "gui/album/AlbumCommands.h"
#include "gui/app/ImageButton.h"
#include "gui/imaging/QualityCommands.h"
#include "gui/layout/PrinterPageSource.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/output/OutputButtonPictures.h"
#include "gui/output/PrintPreview.h"
#include "gui/output/ResultPanel.h"
#include "gui/output/TPrintForm.h"
#include "gui/toolkit/Prompter.h"
#include "render/PageExport.h"
#include "render/PagePrinter.h"

namespace pr {

const char* const TOutputTab::kPrintTitle = "Pixo-Rahmler Dokument";
const char* const TOutputTab::kPicturePrintTitle = "Pixo-Rahmler Bild";
const char* const TOutputTab::kViewerPrintTitle = "Lumarchiv Bild";

TOutputTab::TOutputTab(Album& album, Prompter& prompter, TLayoutTab& layout, QWidget* area)
    : QWidget(area), album_(album), prompter_(prompter), layout_(layout) {
    setObjectName(QStringLiteral("OutputTab"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(buildControls());

    ScrollBox3 = new QScrollArea(this);
    ScrollBox3->setObjectName(QStringLiteral("ScrollBox3"));
    ScrollBox3->setBackgroundRole(QPalette::Dark);  // the workspace colour around the sheet
    ScrollBox3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PaintBox3 = new PrintPreview(
        album_,
        [this] {
            PageRenderOptions o = layout_.renderOptions();
            o.page = layout_.APageEd->value();
            return o;
        },
        [this] { return layout_.printerPage(); }, ScrollBox3);
    column->addWidget(ScrollBox3, 1);

    if (area) {
        QLayout* l = area->layout();
        if (!l) {
            l = new QVBoxLayout(area);
            l->setContentsMargins(0, 0, 0, 0);
        }
        l->addWidget(this);
    }

    connect(&layout_, &TLayoutTab::currentPageChanged, this, &TOutputTab::layoutPageChanged);
    // The wheel rule of the window, for this tab: wherever the mouse is, the preview moves.
    qApp->installEventFilter(this);
}

TOutputTab::~TOutputTab() {
    qApp->removeEventFilter(this);
}

QWidget* TOutputTab::buildControls() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);

    auto* buttons = new QVBoxLayout;
    GoBtn1 = new ImageButton(OutputButtonPictures::go(false), OutputButtonPictures::go(true), bar);
    GoBtn1->setObjectName(QStringLiteral("GoBtn1"));
    GoBtn1->setToolTip(QStringLiteral("Druckvorgang starten..."));
    SetupBtn =
        new ImageButton(OutputButtonPictures::setup(false), OutputButtonPictures::setup(true), bar);
    SetupBtn->setObjectName(QStringLiteral("SetupBtn"));
    SetupBtn->setToolTip(QStringLiteral(
        "Klicken Sie hier, um einen anderen Drucker oder ein anderes Papierformat zu wählen"));
    buttons->addWidget(GoBtn1);
    buttons->addWidget(SetupBtn);
    row->addLayout(buttons);
    row->addSpacing(12);

    auto* fields = new QGridLayout;
    APageEd2 = new QSpinBox(bar);
    APageEd2->setObjectName(QStringLiteral("APageEd2"));
    APageEd2->setRange(kPageMin, kPageMax);
    APageEd2->setValue(1);
    auto* pageLabel = new QLabel(QStringLiteral("Aktuelle Seite:"), bar);
    pageLabel->setBuddy(APageEd2);
    SaveBitBtn = new QPushButton(QStringLiteral("Als Bild speichern..."), bar);
    SaveBitBtn->setObjectName(QStringLiteral("SaveBitBtn"));
    BitDPIED = new QSpinBox(bar);
    BitDPIED->setObjectName(QStringLiteral("BitDPIED"));
    BitDPIED->setRange(PageExport::kMinDpi, PageExport::kMaxDpi);
    BitDPIED->setValue(PageExport::kDefaultDpi);
    auto* dpiLabel = new QLabel(QStringLiteral("Bitmap Qualität:"), bar);
    dpiLabel->setBuddy(BitDPIED);
    fields->addWidget(pageLabel, 0, 0);
    fields->addWidget(APageEd2, 0, 1);
    fields->addWidget(SaveBitBtn, 1, 0, 1, 3, Qt::AlignLeft);
    fields->addWidget(dpiLabel, 2, 0);
    fields->addWidget(BitDPIED, 2, 1);
    fields->addWidget(new QLabel(QStringLiteral("DPI"), bar), 2, 2);
    row->addLayout(fields);
    row->addStretch(1);
    row->addWidget(new ResultPanel(bar), 0, Qt::AlignTop);

    connect(GoBtn1, &ImageButton::clicked, this, [this] { GoBtn1Click(); });
    connect(SetupBtn, &ImageButton::clicked, this, &TOutputTab::SetupBtnClick);
    connect(SaveBitBtn, &QPushButton::clicked, this, [this] { SaveBitBtnClick(); });
    connect(APageEd2, qOverload<int>(&QSpinBox::valueChanged), this, &TOutputTab::APageEd2Change);
    return bar;
}

QPrinter& TOutputTab::printer() {
    return layout_.printerPages().printer();
}

void TOutputTab::reportQualityFailures() {
    CheckallqualsShown(album_, qualitySettings(*layout_.EnhanceQualCheck, *layout_.MinQualEd),
                       prompter_, progress_);
}

bool TOutputTab::GoBtn1Click() {
    reportQualityFailures();
    QPrinter& p = printer();
    // Known before the dialog, so that "print to file" offers a sensible file name.
    p.setDocName(QString::fromLatin1(kPrintTitle));
    if (!prompter_.printDialog(p)) return false;
    PaintBox3Paint();
    p.setDocName(QString::fromLatin1(kPrintTitle));
    if (PagePrinter::printPages(p, album_, layout_.renderOptions(), layout_.PageCountED->value()))
        return true;
    QString text = QStringLiteral("Der Druckauftrag konnte nicht ausgeführt werden.");
    if (!p.outputFileName().isEmpty())
        text += QStringLiteral("\nDie Datei \"%1\" konnte nicht geschrieben werden.")
                    .arg(QDir::toNativeSeparators(p.outputFileName()));
    prompter_.error(text);
    return false;
}

void TOutputTab::SetupBtnClick() {
    prompter_.pageSetupDialog(printer());
    PaintBox3Paint();
}

bool TOutputTab::SaveBitBtnClick() {
    if (exportFolder_.isEmpty())
        exportFolder_ = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString path =
        prompter_.saveFileName(QStringLiteral("Als Bild speichern"), exportFolder_, QString());
    if (path.isEmpty()) return false;
    exportFolder_ = QFileInfo(path).absolutePath();
    PageRenderOptions options = layout_.renderOptions();
    options.page = layout_.APageEd->value();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ExportResult result =
        PageExport::exportPage(path, album_, options, layout_.printerPage(), BitDPIED->value());
    QApplication::restoreOverrideCursor();
    if (!result.ok) prompter_.error(result.message);
    return result.ok;
}

void TOutputTab::layoutPageChanged(int page) {
    // The layout tab's guard is set while this runs, so APageEd2Change lets the value pass.
    APageEd2->setValue(page);
    PaintBox3->update();
}

void TOutputTab::APageEd2Change() {
    if (layout_.PageSyncGuard()) return;
    // The layout tab clamps the page to the page count, draws it and hands the value back.
    layout_.APageEd->setValue(APageEd2->value());
    PaintBox3Paint();
}

void TOutputTab::PaintBox3Paint() {
    PaintBox3->PaintBox3Paint();
}

bool TOutputTab::PrintBtnClick(AlbumCommands& commands, int i) {
    if (i < 0 || i >= album_.PictureCount()) return false;
    const std::string file = album_.Pictures[static_cast<size_t>(i)].FileName;
    if (album_.PreviewFileName != file) commands.openfilenow(QString::fromStdString(file));
    // The print takes the file as it is on disk, not the album's turned or enlarged copy.
    if (album_.PreviewFileName != file) return false;
    return printSinglePicture(album_.PreviewImage, QString::fromStdString(file), window(),
                              QString::fromLatin1(kPicturePrintTitle));
}

bool TOutputTab::printSinglePicture(const ImageBuffer& picture, const QString& path, QWidget* owner,
                                    const QString& jobTitle) {
    if (!picture.valid()) return false;
    TPrintForm form(picture, printer(), prompter_, owner);
    if (form.exec() != QDialog::Accepted) return false;
    return form.printPicture(jobTitle, path);
}

bool TOutputTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel || !isVisible()) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget))) return false;
    // Whole notches of 20 pixels; a touchpad's small steps are summed up first.
    wheelRest_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
    QScrollBar* bar = ScrollBox3->verticalScrollBar();
    while (wheelRest_ <= -120) {
        bar->setValue(bar->value() + kWheelStep);
        wheelRest_ += 120;
    }
    while (wheelRest_ >= 120) {
        bar->setValue(bar->value() - kWheelStep);
        wheelRest_ -= 120;
    }
    return true;
}

}  // namespace pr
