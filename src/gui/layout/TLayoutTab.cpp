#include "gui/layout/TLayoutTab.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "core/layout/StripGeometry.h"
#include "gui/layout/BildPopup.h"
#include "gui/layout/ColorComboBox.h"
#include "gui/layout/PageView.h"
#include "gui/layout/PictureStrip.h"
#include "gui/layout/PlacementEditor.h"
#include "gui/layout/PlacementPanel.h"
#include "gui/layout/PrintSizeCommands.h"
#include "gui/layout/PrinterPageSource.h"
#include "gui/layout/RenditionScheduler.h"
#include "gui/toolkit/Prompter.h"
#include "gui/toolkit/StoredValues.h"
#include "gui/undo/AlbumCommand.h"
#include "gui/undo/AlbumHistory.h"

namespace pr {

namespace {

constexpr int kStripColumnWidth = 150;

// The desktop's tab look with less room beside each caption: the four captions of the sub-tabs
// then fit beside the strip at the window's default size instead of hiding behind scroll arrows.
class CompactTabStyle : public QProxyStyle {
public:
    explicit CompactTabStyle(QObject* owner) { setParent(owner); }
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? std::min(value, 12) : value;
    }
};

QSpinBox* intEdit(const char* name, int min, int max, int step, int value, QWidget* parent) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setRange(min, max);
    edit->setSingleStep(step);
    edit->setValue(value);
    return edit;
}

QDoubleSpinBox* floatEdit(const char* name, double min, double max, double value, QWidget* parent) {
    auto* edit = new QDoubleSpinBox(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setDecimals(2);
    edit->setRange(min, max);
    edit->setSingleStep(1);
    edit->setValue(value);
    return edit;
}

QCheckBox* checkBox(const char* name, const char* caption, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    return box;
}

QPushButton* button(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// "caption [edit] unit" on one row of a grid.
void addEditRow(QGridLayout* grid, int row, const char* caption, QWidget* edit,
                const char* unit = nullptr) {
    auto* label = new QLabel(QString::fromUtf8(caption));
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    if (unit) grid->addWidget(new QLabel(QString::fromUtf8(unit)), row, 2);
}

QWidget* page(QLayout* content) {
    auto* w = new QWidget;
    auto* outer = new QVBoxLayout(w);
    outer->addLayout(content);
    outer->addStretch(1);
    return w;
}

}  // namespace

TLayoutTab::TLayoutTab(Album& album, Prompter& prompter, QWidget* area)
    : QWidget(area),
      album_(album),
      prompter_(prompter),
      printer_(std::make_unique<PrinterPageSource>()),
      captionFont_(PageRenderOptions::defaultCaptionFont()) {
    setObjectName(QStringLiteral("LayoutTab"));
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(4, 4, 4, 4);
    columns->addWidget(buildStripColumn());
    auto* work = new QVBoxLayout;
    work->addWidget(buildPageControls());
    PageControl4 = new QTabWidget(this);
    PageControl4->setObjectName(QStringLiteral("PageControl4"));
    PageControl4->tabBar()->setStyle(new CompactTabStyle(PageControl4->tabBar()));
    PageControl4->addTab(buildArrangePage(), QStringLiteral("Bilder anordnen"));
    PageControl4->addTab(buildSettingsPage(), QStringLiteral("Einstellungen"));
    PageControl4->addTab(buildFontPage(), QStringLiteral("Schrift Einstellungen"));
    PageControl4->addTab(buildPictureOptionsPage(), QStringLiteral("Bild Optionen"));
    work->addWidget(PageControl4, 1);
    columns->addLayout(work, 1);

    if (area) {
        QLayout* layout = area->layout();
        if (!layout) {
            layout = new QVBoxLayout(area);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        layout->addWidget(this);
    }

    editor_ = new PlacementEditor(*this, album_, prompter_);
    panel_ = new PlacementPanel(*this, *editor_, album_, prompter_);
    printSizes_ = new PrintSizeCommands(*this, *editor_, album_);
    setPlacementControlsEnabled(false);
    syncPageSize();
    connectSettingsChanged();
    // The wheel rule of the window, for this tab: whatever the mouse is over, the page's scroll
    // box moves (by the desktop's lines per notch) while "Bilder anordnen" shows.
    qApp->installEventFilter(this);
}

TLayoutTab::~TLayoutTab() {
    // The window lets go of the album before its children go; nothing may reach it from here on.
    qApp->removeEventFilter(this);
    ScrollBox1->viewport()->removeEventFilter(this);
    ScrollBox2->viewport()->removeEventFilter(this);
    // The editor filters the strip's and the page's events through this tab; the events they send
    // while QWidget deletes them must not reach a tab that is no longer one.
    PaintBox1->removeEventFilter(editor_);
    PaintBox2->removeEventFilter(editor_);
}

QWidget* TLayoutTab::buildStripColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    Overtakeall = button("Overtakeall", "A&lle übernehmen", column);
    OrdeneBtn = button("OrdeneBtn", "Automatisch &anordnen...", column);
    // The strip's width, or what the buttons' captions need in the desktop's font.
    column->setFixedWidth(std::max({kStripColumnWidth, Overtakeall->minimumSizeHint().width(),
                                    OrdeneBtn->minimumSizeHint().width()}));
    OrdeneBtn->setToolTip(
        QStringLiteral("Ordnet alle auf dem Blatt vorhandenen Bild automatisch an"));
    ScrollBox1 = new QScrollArea(column);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    PaintBox1 = new PictureStrip(album_, ScrollBox1);
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->viewport()->installEventFilter(this);
    layout->addWidget(Overtakeall);
    layout->addWidget(OrdeneBtn);
    layout->addWidget(ScrollBox1, 1);
    return column;
}

QWidget* TLayoutTab::buildPageControls() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    ZoomEd = intEdit("ZoomEd", kZoomMin, kZoomMax, kZoomStep, kZoomDefault, bar);
    PageCountED = intEdit("PageCountED", kPageMin, kPageMax, 1, 1, bar);
    APageEd = intEdit("APageEd", kPageMin, kPageMax, 1, 1, bar);
    auto add = [&](const char* caption, QWidget* edit, const char* unit) {
        auto* label = new QLabel(QString::fromUtf8(caption), bar);
        label->setBuddy(edit);
        row->addWidget(label);
        row->addWidget(edit);
        if (unit) row->addWidget(new QLabel(QString::fromUtf8(unit), bar));
        row->addSpacing(12);
    };
    add("Zoom:", ZoomEd, "%");
    add("Seitenzahl:", PageCountED, nullptr);
    add("Aktuelle Seite:", APageEd, nullptr);
    row->addStretch(1);

    connect(ZoomEd, qOverload<int>(&QSpinBox::valueChanged), this, [this] { PaintBox2Paint(); });
    connect(APageEd, qOverload<int>(&QSpinBox::valueChanged), this, &TLayoutTab::APageEdChange);
    connect(PageCountED, qOverload<int>(&QSpinBox::valueChanged), this,
            &TLayoutTab::PageCountEDChange);
    return bar;
}

QWidget* TLayoutTab::buildArrangePage() {
    auto* w = new QWidget;
    auto* row = new QHBoxLayout(w);
    ScrollBox2 = new QScrollArea(w);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox2->setBackgroundRole(QPalette::Dark);  // the workspace colour around the sheet
    ScrollBox2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PaintBox2 = new PageView(
        album_, [this] { return renderOptions(); }, [this] { return pageOnScreenSize(); });
    ScrollBox2->setWidget(PaintBox2);
    ScrollBox2->viewport()->installEventFilter(this);
    row->addWidget(ScrollBox2, 1);

    auto* panel = new QVBoxLayout;
    HellKonBtn = button("HellKonBtn", "&Helligkeit, Kontrast...", w);
    DelitBtn = button("DelitBtn", "Lö&schen...", w);
    RotLeftBtn = button("RotLeftBtn", "Nach &links rotieren...", w);
    RotRightBtn = button("RotRightBtn", "Nach &rechts rotieren...", w);
    FreeText = new QLineEdit(w);
    FreeText->setObjectName(QStringLiteral("FreeText"));
    auto* freeLabel = new QLabel(QStringLiteral("Freier Text:"), w);
    freeLabel->setBuddy(FreeText);
    ShowBigBtn = button("ShowBigBtn", "&Groß anzeigen", w);
    ChangePosSizeBtn = button("ChangePosSizeBtn", "&Größe und Position...", w);
    CutCheck = checkBox("CutCheck", "Bild einpassen/abschneiden", true, w);
    for (QWidget* c : {static_cast<QWidget*>(HellKonBtn), static_cast<QWidget*>(DelitBtn),
                       static_cast<QWidget*>(RotLeftBtn), static_cast<QWidget*>(RotRightBtn),
                       static_cast<QWidget*>(freeLabel), static_cast<QWidget*>(FreeText),
                       static_cast<QWidget*>(ShowBigBtn), static_cast<QWidget*>(ChangePosSizeBtn),
                       static_cast<QWidget*>(CutCheck)})
        panel->addWidget(c);
    panel->addStretch(1);
    row->addLayout(panel);
    return w;
}

QWidget* TLayoutTab::buildSettingsPage() {
    auto* content = new QVBoxLayout;
    auto* grid = new QGroupBox(QStringLiteral("Netz"));
    auto* g = new QGridLayout(grid);
    UseGridCheck = checkBox("UseGridCheck", "Bilder an \"Netz\" ausrichten", true, grid);
    GridEd = floatEdit("GridEd", kGridMmMin, kGridMmMax, kGridMmDefault, grid);
    ShowGridCheck = checkBox("ShowGridCheck", "Gitter anzeigen", false, grid);
    g->addWidget(UseGridCheck, 0, 0, 1, 3);
    addEditRow(g, 1, "Abstand der Netzlinien:", GridEd, "mm");
    g->addWidget(ShowGridCheck, 2, 0, 1, 3);
    g->setColumnStretch(3, 1);
    content->addWidget(grid);

    auto* arrange = new QGroupBox(QStringLiteral("Einstellungen fürs automatische Anordnen"));
    auto* a = new QGridLayout(arrange);
    RandEd = floatEdit("RandEd", 0, 100, 15, arrange);
    SpaceED = floatEdit("SpaceED", 0, 100, 5, arrange);
    addEditRow(a, 0, "Seitenrand :", RandEd, "mm");
    addEditRow(a, 1, "Abstand:", SpaceED, "mm");
    a->setColumnStretch(3, 1);
    content->addWidget(arrange);
    return page(content);
}

QWidget* TLayoutTab::buildFontPage() {
    auto* content = new QGridLayout;
    FontBtn = button("FontBtn", "Schriftart festlegen", nullptr);
    TranspCheck = checkBox("TranspCheck", "Durchsichtige Schrifthintergrund", false, nullptr);
    BkColBox = new ColorComboBox;
    BkColBox->setObjectName(QStringLiteral("BkColBox"));
    content->addWidget(FontBtn, 0, 0, 1, 2, Qt::AlignLeft);
    content->addWidget(TranspCheck, 1, 0, 1, 2);
    addEditRow(content, 2, "Schrift Hintergrund:", BkColBox);
    content->setColumnStretch(2, 1);
    connect(FontBtn, &QPushButton::clicked, this, &TLayoutTab::FontBtnClick);
    return page(content);
}

QWidget* TLayoutTab::buildPictureOptionsPage() {
    auto* content = new QVBoxLayout;
    SverhCheck = checkBox("SverhCheck", "Seitenverhältnis beibehalten", true, nullptr);
    ShowFNames =
        checkBox("ShowFNames", "Dateinamen anzeigen wenn kein Text festgelegt", false, nullptr);
    CutDefault = checkBox("CutDefault", "Bilder als Voreinstellung an Rahmen anpassen/abschneiden",
                          false, nullptr);
    content->addWidget(SverhCheck);
    content->addWidget(ShowFNames);
    content->addWidget(CutDefault);

    auto* size = new QGroupBox(QStringLiteral("Voreingestellte Größe"));
    auto* s = new QGridLayout(size);
    DBreiteED = floatEdit("DBreiteED", 0, 1000, 130, size);
    DHocheED = floatEdit("DHocheED", 0, 1000, 100, size);
    addEditRow(s, 0, "Breite:", DBreiteED, "mm");
    addEditRow(s, 1, "Höhe:", DHocheED, "mm");
    s->setColumnStretch(3, 1);
    content->addWidget(size);

    auto* quality = new QGroupBox(QStringLiteral("Bildqualität"));
    auto* q = new QGridLayout(quality);
    EnhanceQualCheck =
        checkBox("EnhanceQualCheck", "Bildqualität hochrechnen auf Mindestqualität", true, quality);
    MinQualEd = intEdit("MinQualEd", 10, 300, 1, 72, quality);
    q->addWidget(EnhanceQualCheck, 0, 0, 1, 3);
    addEditRow(q, 1, "Mindestqualität:", MinQualEd, "dpi");
    q->setColumnStretch(3, 1);
    content->addWidget(quality);

    // These change how the page looks at once (the minimum quality moves the print warnings);
    // the other settings show at the next repaint.
    connect(SverhCheck, &QCheckBox::clicked, this, [this] { PaintBox2Paint(); });
    connect(ShowFNames, &QCheckBox::clicked, this, [this] { PaintBox2Paint(); });
    connect(MinQualEd, qOverload<int>(&QSpinBox::valueChanged), this, [this] { PaintBox2Paint(); });
    return page(content);
}

void TLayoutTab::registerStoredValues(StoredValues& values) {
    values.addValue(QStringLiteral("SpaceED.Value"), SpaceED);
    values.addValue(QStringLiteral("RandEd.Value"), RandEd);
    values.addChecked(QStringLiteral("UseGridCheck.Checked"), UseGridCheck);
    values.addValue(QStringLiteral("GridEd.Value"), GridEd);
    values.addChecked(QStringLiteral("ShowGridCheck.Checked"), ShowGridCheck);
    values.addValue(QStringLiteral("MinQualEd.Value"), MinQualEd);
    values.addChecked(QStringLiteral("EnhanceQualCheck.Checked"), EnhanceQualCheck);
}

void TLayoutTab::setPlacementControlsEnabled(bool enabled) {
    for (QWidget* c : {static_cast<QWidget*>(HellKonBtn), static_cast<QWidget*>(DelitBtn),
                       static_cast<QWidget*>(RotLeftBtn), static_cast<QWidget*>(RotRightBtn),
                       static_cast<QWidget*>(FreeText), static_cast<QWidget*>(ShowBigBtn),
                       static_cast<QWidget*>(ChangePosSizeBtn), static_cast<QWidget*>(CutCheck)})
        c->setEnabled(enabled);
}

void TLayoutTab::setHistory(AlbumHistory* history, QAction* undo, QAction* redo) {
    history_ = history;
    if (!history_) return;
    editor_->popup()->addHistoryActions(undo, redo);
    connect(history_, &AlbumHistory::restored, this, [this] {
        int32_t selected = album_.SelectedPlacement;
        if (selected < 0 || static_cast<uint32_t>(selected) >= album_.placementCount())
            selected = -1;
        // The page of the step's placement is shown; a selection may never stay on a page that
        // is not shown (a press would grab it unseen). Changing the page ends the selection, so
        // it is made afterwards.
        if (selected >= 0) {
            const int32_t page = album_.placementAt(static_cast<uint32_t>(selected))->Page;
            if (page != APageEd->value() && page >= 1 && page <= PageCountED->value())
                APageEd->setValue(page);
            if (page != APageEd->value()) selected = -1;
        }
        editor_->SelectPlacement(selected);
        editor_->ShowSizeInfo();
        PaintBox1->syncSize();
        PaintBox1Paint();
        PaintBox2Paint();
    });
}

void TLayoutTab::record(AlbumCommand* command) {
    if (history_) {
        history_->record(command);
    } else {
        delete command;
    }
}

void TLayoutTab::setAsyncPictures(bool async) {
    RenditionScheduler& scheduler = RenditionScheduler::instance();
    PaintBox1->setRenditionProvider(async ? scheduler.provider() : RenditionProvider());
    PaintBox2->setRenditionProvider(async ? scheduler.provider() : RenditionProvider());
    disconnect(&scheduler, nullptr, PaintBox1, nullptr);
    disconnect(&scheduler, nullptr, PaintBox2, nullptr);
    if (!async) return;
    connect(&scheduler, &RenditionScheduler::ready, PaintBox1, qOverload<>(&QWidget::update));
    connect(&scheduler, &RenditionScheduler::ready, PaintBox2, qOverload<>(&QWidget::update));
}

void TLayoutTab::setDisplayBitsPerPixel(int bits) {
    displayBits_ = bits;
    PaintBox1->setDisplayBitsPerPixel(bits);
}

PrinterPage TLayoutTab::printerPage() const {
    return pageSource_ ? pageSource_() : printer_->current();
}

int TLayoutTab::screenPpi() const {
    return screenPpiOverride_ > 0 ? screenPpiOverride_ : PaintBox1->logicalDpiX();
}

QSize TLayoutTab::pageOnScreenSize() const {
    const PixelSize s = pageOnScreen(printerPage(), ZoomEd->value(), screenPpi());
    return QSize(s.w, s.h);
}

PageRenderOptions TLayoutTab::renderOptions() const {
    const PrinterPage printer = printerPage();
    PageRenderOptions o;
    o.zoom = ZoomEd->value();
    o.ppi = screenPpi();
    o.page = APageEd->value();
    o.keepAspect = SverhCheck->isChecked();
    o.showFileNames = ShowFNames->isChecked();
    o.transparentCaptions = TranspCheck->isChecked();
    o.captionBackground = BkColBox->color();
    o.captionFont = captionFont_;
    o.showGrid = ShowGridCheck->isChecked();
    o.gridMm = GridEd->value();
    o.pageWidthMm = pageWidthMm(printer);
    o.pageHeightMm = pageHeightMm(printer);
    o.selected = album_.SelectedPlacement;
    o.minimumDpi = MinQualEd->value();
    o.displayBitsPerPixel = displayBits_;
    Prompter* prompter = &prompter_;
    o.messages = [prompter](const std::string& text) {
        prompter->message(QString::fromStdString(text), QString(), Prompter::Icon::None,
                          Prompter::Button::Ok);
    };
    return o;
}

void TLayoutTab::PaintBox2Paint() {
    PaintBox2->PaintBox2Paint();
    emit pageRedrawn();
}

void TLayoutTab::PaintBox1Paint() {
    PaintBox1->PaintBox1Paint();
    emit pageRedrawn();
}

void TLayoutTab::connectSettingsChanged() {
    for (QCheckBox* box : {ShowFNames, SverhCheck, TranspCheck, CutDefault, EnhanceQualCheck,
                           UseGridCheck, ShowGridCheck})
        connect(box, &QCheckBox::toggled, this, &TLayoutTab::settingsChanged);
    for (QSpinBox* edit : {ZoomEd, MinQualEd})
        connect(edit, qOverload<int>(&QSpinBox::valueChanged), this, &TLayoutTab::settingsChanged);
    for (QDoubleSpinBox* edit : {RandEd, SpaceED, DBreiteED, DHocheED, GridEd})
        connect(edit, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
                &TLayoutTab::settingsChanged);
    connect(BkColBox, &ColorComboBox::colorChanged, this, &TLayoutTab::settingsChanged);
}

void TLayoutTab::syncPageSize() {
    if (PaintBox2) PaintBox2->syncSize();
}

void TLayoutTab::APageEdChange() {
    if (APageEd->value() > PageCountED->value()) {
        // The lowered value comes back into this handler, which then draws and hands it on once.
        APageEd->setValue(PageCountED->value());
        return;
    }
    pageSyncGuard_ = true;
    PaintBox2Paint();
    emit currentPageChanged(APageEd->value());
    pageSyncGuard_ = false;
}

void TLayoutTab::PageCountEDChange() {
    if (APageEd->value() > PageCountED->value()) APageEd->setValue(PageCountED->value());
    syncPageSize();
}

void TLayoutTab::FontBtnClick() {
    QFont font = captionFont_;
    bool chosen = false;
    if (fontChooser_) {
        chosen = fontChooser_(font);
    } else {
        font = QFontDialog::getFont(&chosen, captionFont_, this);
    }
    // The next repaint shows the font; choosing it does not repaint by itself.
    if (chosen) {
        captionFont_ = font;
        emit settingsChanged();
    }
}

void TLayoutTab::wheelScroll(int angleDelta) {
    wheel_.scroll(ScrollBox2->verticalScrollBar(), angleDelta);
}

bool TLayoutTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == ScrollBox1->viewport()) PaintBox1->syncSize();
        if (watched == ScrollBox2->viewport()) PaintBox2->update();
        return false;
    }
    if (event->type() != QEvent::Wheel || !isVisible()) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget))) return false;
    // The wheel never zooms nor steps a field on this tab: it only scrolls the page.
    if (PageControl4->currentIndex() == ArrangeTab)
        wheelScroll(static_cast<QWheelEvent*>(event)->angleDelta().y());
    return true;
}

}  // namespace pr
