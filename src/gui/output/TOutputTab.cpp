#include "gui/output/TOutputTab.h"

#include <QCheckBox>

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
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "core/album/QualityCheck.h"
#include "gui/album/AlbumCommands.h"
#include "gui/app/ImageButton.h"
#include "gui/imaging/QualityCommands.h"
#include "gui/layout/PrinterPageSource.h"
#include "gui/layout/RenditionScheduler.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/output/OutputButtonPictures.h"
#include "gui/output/OutputFileNames.h"
#include "gui/output/PrintPreview.h"
#include "gui/output/PrinterOutput.h"
#include "gui/output/ResultPanel.h"
#include "gui/output/TPrintForm.h"
#include "gui/toolkit/InputOnlyFor.h"
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
            PageRenderOptions o = outputOptions();
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
    auto* dpiLabel = new QLabel(QStringLiteral("Bitmap-Qualität:"), bar);
    dpiLabel->setBuddy(BitDPIED);
    fields->addWidget(pageLabel, 0, 0);
    fields->addWidget(APageEd2, 0, 1);
    fields->addWidget(SaveBitBtn, 1, 0, 1, 3, Qt::AlignLeft);
    fields->addWidget(dpiLabel, 2, 0);
    fields->addWidget(BitDPIED, 2, 1);
    fields->addWidget(new QLabel(QStringLiteral("DPI"), bar), 2, 2);
    CutMarksCheck = new QCheckBox(QStringLiteral("Schnittmarken drucken"), bar);
    CutMarksCheck->setObjectName(QStringLiteral("CutMarksCheck"));
    CutMarksCheck->setToolTip(QString::fromUtf8(
        "Feine Eckmarken 3 mm außerhalb jedes Bildes, zum Zuschneiden (nur im Druck)"));
    fields->addWidget(CutMarksCheck, 3, 0, 1, 3);
    row->addLayout(fields);
    row->addStretch(1);
    row->addWidget(new ResultPanel(bar), 0, Qt::AlignTop);

    connect(GoBtn1, &ImageButton::clicked, this, [this] { GoBtn1Click(); });
    connect(SetupBtn, &ImageButton::clicked, this, &TOutputTab::SetupBtnClick);
    connect(SaveBitBtn, &QPushButton::clicked, this, [this] { SaveBitBtnClick(); });
    connect(APageEd2, qOverload<int>(&QSpinBox::valueChanged), this, &TOutputTab::APageEd2Change);
    connect(CutMarksCheck, &QCheckBox::toggled, this, [this] { PaintBox3Paint(); });
    return bar;
}

void TOutputTab::setAsyncPictures(bool async) {
    RenditionScheduler& scheduler = RenditionScheduler::instance();
    PaintBox3->setRenditionProvider(async ? scheduler.provider() : RenditionProvider());
    disconnect(&scheduler, nullptr, PaintBox3, nullptr);
    if (async)
        connect(&scheduler, &RenditionScheduler::ready, PaintBox3, qOverload<>(&QWidget::update));
}

PageRenderOptions TOutputTab::outputOptions() const {
    PageRenderOptions o = layout_.renderOptions();
    o.cutMarks = CutMarksCheck->isChecked();
    return o;
}

QPrinter& TOutputTab::printer() {
    return layout_.printerPages().printer();
}

void TOutputTab::reportQualityFailures() {
    CheckallqualsShown(album_, qualitySettings(*layout_.EnhanceQualCheck, *layout_.MinQualEd),
                       prompter_, progress_);
}

bool TOutputTab::GoBtn1Click() {
    if (printing_) return false;
    reportQualityFailures();
    int pages = layout_.PageCountED->value();
    if (!confirmPageCount(pages)) return false;
    QPrinter& p = printer();
    p.setDocName(QString::fromLatin1(kPrintTitle));
    const QString proposal =
        OutputFileNames::printFileProposal(QString::fromStdString(album_.AlbumFileName));
    // A printer that writes into a file keeps the file of its last job (a single picture's PDF,
    // perhaps); the album's own name is offered instead.
    if (p.outputFormat() == QPrinter::PdfFormat) p.setOutputFileName(proposal);
    if (!prompter_.printDialog(p, proposal)) return false;
    printerChanged();
    if (!confirmReplacing(p.outputFileName())) return false;
    p.setDocName(QString::fromLatin1(kPrintTitle));
    // The pages are drawn from a copy: the window repaints between two pages, and whatever
    // happens to the album meanwhile does not reach the paper.
    Album copy;
    album_.copyContentTo(copy);
    bool stopped = false;
    const PrinterOutputResult printed = printOnPrinter(
        p, [&](QPagedPaintDevice& device) { return printStoppable(device, copy, pages, stopped); });
    if (printed.ok) return true;
    // Stopped by the user: nothing was written into a file, and nothing needs saying.
    if (stopped) return false;
    QString text = QStringLiteral("Der Druckauftrag konnte nicht ausgeführt werden.");
    if (!printed.fileMessage.isEmpty()) text += QLatin1Char('\n') + printed.fileMessage;
    prompter_.error(text);
    return false;
}

bool TOutputTab::printStoppable(QPagedPaintDevice& device, const Album& album, int pages,
                                bool& stopped) {
    PagePrintRun run(device, album, outputOptions(), pages);
    if (!run.begin()) return false;
    printing_ = true;
    InputOnlyFor onlyStop(stop_.button);
    if (stop_.show) stop_.show(true);
    bool ok = true;
    while (!run.allPrinted()) {
        QCoreApplication::processEvents();
        if (stop_.requested && stop_.requested()) {
            stopped = true;
            break;
        }
        if (!run.printNextPage()) {
            ok = false;
            break;
        }
        if (progress_) progress_(run.pagesPrinted() * 100 / std::max(1, pages));
    }
    // A printer drops the job; a file is not committed (drawing reports failure).
    if (stopped) {
        if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->abort();
    }
    ok = run.finish() && ok && !stopped;
    if (stop_.show) stop_.show(false);
    if (progress_) progress_(0);
    printing_ = false;
    return ok;
}

bool TOutputTab::confirmPageCount(int& pages) {
    // The album file keeps no page count, so an album opened or built on another page count may
    // hold pictures beyond it; printing must not leave them out without a word.
    const int last = album_.lastPlacementPage(kPageMax);
    if (last <= pages) return true;
    const Prompter::Button answer = prompter_.message(
        QStringLiteral("Auf Seiten nach Seite %1 liegen noch Bilder. Bis Seite %2 drucken?")
            .arg(pages)
            .arg(last),
        QStringLiteral("Drucken"), Prompter::Icon::Question,
        Prompter::Buttons(Prompter::Button::Yes) | Prompter::Button::No | Prompter::Button::Cancel);
    if (answer == Prompter::Button::Yes) pages = last;
    return answer == Prompter::Button::Yes || answer == Prompter::Button::No;
}

bool TOutputTab::confirmReplacing(const QString& file) {
    if (file.isEmpty() || !QFileInfo::exists(file) || prompter_.printDialogAsksBeforeReplacing())
        return true;
    return prompter_.message(
               QStringLiteral("Die Datei \"%1\" gibt es schon. Soll sie ersetzt werden?")
                   .arg(QDir::toNativeSeparators(file)),
               QStringLiteral("Drucken"), Prompter::Icon::Question,
               Prompter::Buttons(Prompter::Button::Yes) | Prompter::Button::No) ==
           Prompter::Button::Yes;
}

void TOutputTab::SetupBtnClick() {
    prompter_.pageSetupDialog(printer());
    printerChanged();
}

void TOutputTab::printerChanged() {
    // Another paper or orientation is another sheet for the page view and the preview alike.
    layout_.PaintBox2Paint();
    PaintBox3Paint();
}

bool TOutputTab::SaveBitBtnClick() {
    QString filter;
    QString path = prompter_.saveFileNameWithFilters(
        QStringLiteral("Als Bild speichern"),
        OutputFileNames::exportProposal(exportFolder_, layout_.APageEd->value()),
        OutputFileNames::exportFilters(), &filter);
    if (path.isEmpty()) return false;
    path = OutputFileNames::completed(path, filter);
    exportFolder_ = QFileInfo(path).absolutePath();
    PageRenderOptions options = outputOptions();
    options.page = layout_.APageEd->value();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A PDF gets the printer's sheet, the same as "Go!" into a file.
    const ExportResult result = PageExport::exportPage(path, album_, options, layout_.printerPage(),
                                                       BitDPIED->value(), printer().pageLayout());
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
    const bool accepted = form.exec() == QDialog::Accepted;
    // The dialog's "Drucker einrichten..." works on the same printer as the page.
    printerChanged();
    if (!accepted) return false;
    return form.printPicture(jobTitle, path);
}

bool TOutputTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel || !isVisible()) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget))) return false;
    wheel_.scroll(ScrollBox3->verticalScrollBar(),
                  static_cast<QWheelEvent*>(event)->angleDelta().y());
    return true;
}

}  // namespace pr
