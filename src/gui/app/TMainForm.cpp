#include "gui/app/TMainForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "gui/album/AlbumCommands.h"
#include "gui/album/AlbumFileCommands.h"
#include "gui/album/AlbumList.h"
#include "gui/album/AlbumPanel.h"
#include "gui/album/TSortTab.h"
#include "gui/app/ImageButton.h"
#include "gui/app/ImageButtonPictures.h"
#include "gui/app/ProgramTitle.h"
#include "gui/app/ProgressPanel.h"
#include "gui/app/TAboutBox.h"
#include "gui/app/TabHeader.h"
#include "gui/app/ToolbarGlyphs.h"
#include "gui/browse/TAddTab.h"
#include "gui/browse/ThumbBrowser.h"
#include "gui/layout/PageView.h"
#include "gui/layout/PictureStrip.h"
#include "gui/layout/PlacementEditor.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/output/PrintPreview.h"
#include "gui/output/TOutputTab.h"
#include "gui/output/TViewPicForm.h"
#include "gui/toolkit/QtPrompter.h"
#include "gui/undo/AlbumHistory.h"

namespace pr {

namespace {

struct TabText {
    const char* caption;
    const char* header;
};

const TabText kTabs[TMainForm::TabCount] = {
    {"Bilder hinzufügen", "Bilder hinzufügen - Dateien markieren und auf \"Hinzufügen\" klicken"},
    {"Sortieren", "Sortieren - Hier können Sie die Reihenfolge der Bilder ändern"},
    {"Anordnen", "Anordnen - Ziehen Sie die Fotos aus dem linken Fenster in das rechte"},
    {"Drucken/Als Bild speichern",
     "Drucken - Vorschau betrachten - Auf \"Go!\" klicken um das Ergebnis auszudrucken"},
};

constexpr int kStatusTextWidth = 600;
constexpr int kProgressWidth = 50;

}  // namespace

TMainForm::TMainForm(Prompter* prompter, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), storedValues_(QStringLiteral("TMainForm")) {
    if (!prompter_) {
        ownPrompter_ = std::make_unique<QtPrompter>(this);
        prompter_ = ownPrompter_.get();
    }
    setObjectName(QStringLiteral("MainForm"));
    setFont(QGuiApplication::font());
    setAttribute(Qt::WA_AlwaysShowToolTips);

    buildToolBar();
    buildTabs();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PageControl2, 1);
    layout->addWidget(buildBottomBar());
    setCentralWidget(central);
    buildStatusBar();

    resize(638, 512);
    centreOnScreen();
    storedValues_.addWindowGeometry(QStringLiteral("Geometry"), this);

    albumCommands_ = new AlbumCommands(*this, this);
    addTab_ = new TAddTab(*this, *albumCommands_, contents_[AddTab]);
    sortTab_ = new TSortTab(*albumCommands_, contents_[SortTab]);
    sortTab_->setAlbumList(addTab_->albumPanel()->imageList());
    for (QWidget* tab : std::initializer_list<QWidget*>{addTab_, sortTab_}) {
        auto* fill = new QVBoxLayout(tab->parentWidget());
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(tab);
    }

    FormCreate();
    albumFileCommands_ = new AlbumFileCommands(*this, *albumCommands_, this);
    Setsavedfilename(QString());
    connect(albumCommands_, &AlbumCommands::picturesChanged, this, &TMainForm::albumChanged);
    connect(layoutTab_, &TLayoutTab::pageRedrawn, this, &TMainForm::albumEdited);
    connect(layoutTab_, &TLayoutTab::settingsChanged, this, &TMainForm::albumEdited);
    connect(history_, &AlbumHistory::restored, this, [this](bool picturesChanged) {
        if (picturesChanged) {
            albumCommands_->UpdateListBox();
        } else {
            albumChanged();
        }
    });
    connect(PageControl2, &QTabWidget::currentChanged, this, &TMainForm::PageControl2Change);
    viewPicForm_ = new TViewPicForm(this);
    viewPicForm_->setPrompter(prompter_);
    viewPicForm_->setPrintHandler(
        [this](const ImageBuffer& picture, const QString& path, QWidget* owner) {
            outputTab_->printSinglePicture(picture, path, owner,
                                           QString::fromLatin1(TOutputTab::kViewerPrintTitle));
        });
    connect(addTab_->albumPanel()->printButton(), &QPushButton::clicked, this, [this] {
        outputTab_->PrintBtnClick(*albumCommands_,
                                  addTab_->albumPanel()->imageList()->currentRow());
    });
}

TMainForm::~TMainForm() {
    saveStoredValues();
    releaseWidgets();
    FormDestroy();
}

void TMainForm::releaseWidgets() {
    // Qt deletes a window's children only after its members are gone, but the tabs, the viewer
    // and the commands hold the album, the prompter and the cursor slots; so they go first, while
    // everything they hold is still there. What they announce while going (the tab control
    // changes its current tab as its pages go) no longer reaches the window.
    for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
    stopThumbnailBrowser();
    delete viewPicForm_;
    viewPicForm_ = nullptr;
    delete takeCentralWidget();
    layoutTab_ = nullptr;
    outputTab_ = nullptr;
    addTab_ = nullptr;
    sortTab_ = nullptr;
    PageControl2 = nullptr;
    delete albumFileCommands_;
    albumFileCommands_ = nullptr;
    delete albumCommands_;
    albumCommands_ = nullptr;
    delete history_;
    history_ = nullptr;
}

void TMainForm::buildToolBar() {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(ToolbarGlyphs::kSize, ToolbarGlyphs::kSize));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar_->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    auto addButton = [this](const char* name, const QIcon& icon, const QString& text,
                            const QString& hint) {
        auto* action = new QAction(icon, text, this);
        action->setObjectName(QLatin1String(name));
        // A tool button drops "..." and the mnemonic from the text unless told otherwise.
        action->setIconText(text);
        action->setToolTip(hint);
        toolBar_->addAction(action);
        return action;
    };
    NewBtn = addButton("NewBtn", ToolbarGlyphs::newAlbum(), QStringLiteral("&Neu"),
                       QStringLiteral("Neues Album erstellen"));
    OpenBtn = addButton("OpenBtn", ToolbarGlyphs::open(), QStringLiteral("Ö&ffnen..."),
                        QStringLiteral("Ein gespeichertes Album öffnen"));
    SaveBtn = addButton("SaveBtn", ToolbarGlyphs::save(), QStringLiteral("&Speichern"),
                        QStringLiteral("Das Album speichern"));
    SaveAsBtn =
        addButton("SaveAsBtn", ToolbarGlyphs::saveAs(), QStringLiteral("Speichern &unter..."),
                  QStringLiteral("Das Album unter einem neuen Namen speichern"));
    toolBar_->addSeparator();
    // Enabled, hinted and given their shortcuts by the album's history (FormCreate).
    UndoBtn = addButton("UndoBtn", ToolbarGlyphs::undo(), QStringLiteral("Rückgängig"),
                        QStringLiteral("Die letzte Änderung rückgängig machen"));
    RedoBtn = addButton("RedoBtn", ToolbarGlyphs::redo(), QStringLiteral("Wiederholen"),
                        QStringLiteral("Die zuletzt rückgängig gemachte Änderung wiederholen"));
    // The arrows alone: with their words the toolbar would not fit the window's first size, and
    // the hint names the step anyway.
    for (QAction* action : {UndoBtn, RedoBtn})
        if (auto* button = qobject_cast<QToolButton*>(toolBar_->widgetForAction(action)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void TMainForm::buildTabs() {
    PageControl2 = new QTabWidget(this);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    for (int i = 0; i < TabCount; ++i) {
        auto* page = new QWidget(PageControl2);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        headers_[i] = new TabHeader(QString::fromUtf8(kTabs[i].header), page);
        contents_[i] = new QWidget(page);
        contents_[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(headers_[i]);
        layout->addWidget(contents_[i], 1);
        PageControl2->addTab(page, QString::fromUtf8(kTabs[i].caption));
    }
}

QWidget* TMainForm::buildBottomBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("BottomBar"));
    aboutBtn_ =
        new ImageButton(ImageButtonPictures::about(false), ImageButtonPictures::about(true), bar);
    aboutBtn_->setObjectName(QStringLiteral("ueberbtn"));
    aboutBtn_->setToolTip(QStringLiteral("Informationen über das Programm"));
    exitBtn_ =
        new ImageButton(ImageButtonPictures::exit(false), ImageButtonPictures::exit(true), bar);
    exitBtn_->setObjectName(QStringLiteral("EndeBtn"));
    exitBtn_->setToolTip(QStringLiteral("Hiermit verlassen Sie das Programm"));
    connect(aboutBtn_, &ImageButton::clicked, this, &TMainForm::AboutBtnClick);
    connect(exitBtn_, &ImageButton::clicked, this, &TMainForm::ExitBtnClick);

    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addStretch(1);
    layout->addWidget(aboutBtn_);
    layout->addSpacing(6);
    layout->addWidget(exitBtn_);
    return bar;
}

void TMainForm::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    statusText_ = new QLabel(bar);
    statusText_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusText_->setTextFormat(Qt::PlainText);
    // Full width when the window is wide enough; a narrower window takes the room from the text
    // panel, so that the progress panel stays whole.
    statusText_->setMinimumWidth(1);
    statusText_->setMaximumWidth(kStatusTextWidth);
    statusText_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    progress_ = new ProgressPanel(bar);
    progress_->setFixedWidth(kProgressWidth);
    bar->addWidget(statusText_, 1);
    bar->addWidget(progress_);
    stopBtn_ = new QPushButton(QStringLiteral("Abbrechen"), bar);
    stopBtn_->setObjectName(QStringLiteral("StopBtn"));
    stopBtn_->hide();
    connect(stopBtn_, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
    bar->addWidget(stopBtn_);
}

bool TMainForm::busy() const {
    return albumChanging() || (outputTab_ && outputTab_->printing());
}

void TMainForm::centreOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(), size());
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
}

QString TMainForm::windowCaptionFor(const QString& albumPath, bool unsaved) {
    // Album files written on Windows carry backslashes; either separator ends the folder part.
    const int cut =
        std::max(albumPath.lastIndexOf(QLatin1Char('/')), albumPath.lastIndexOf(QLatin1Char('\\')));
    const QString name = albumPath.mid(cut + 1);
    return QStringLiteral("%1 %2 - [%3%4]")
        .arg(makerName(), programTitle(), name.isEmpty() ? QStringLiteral("Unbenannt.pxr") : name,
             unsaved ? QStringLiteral("*") : QString());
}

void TMainForm::Setsavedfilename(const QString& path) {
    album_->AlbumFileName = path.toStdString();
    // The window's start-up names the untitled album before the file commands exist; the window
    // remembers that album once they do.
    if (albumFileCommands_) savedState_.remember(*album_, albumFileCommands_->collectSettings());
    updateCaption();
}

bool TMainForm::hasUnsavedChanges() const {
    return album_ && albumFileCommands_ &&
           savedState_.changed(*album_, albumFileCommands_->collectSettings());
}

void TMainForm::updateCaption() {
    setWindowTitle(
        windowCaptionFor(QString::fromStdString(album_->AlbumFileName), hasUnsavedChanges()));
}

void TMainForm::albumChanged() {
    if (!album_ || album_->AlbumLoading) return;
    layoutTab_->PaintBox1->syncSize();
    layoutTab_->PaintBox1->update();
    layoutTab_->syncPageSize();
    layoutTab_->PaintBox2->update();
    albumEdited();
}

void TMainForm::albumEdited() {
    if (!album_ || album_->AlbumLoading) return;
    outputTab_->PaintBox3->syncSize();
    outputTab_->PaintBox3->update();
    updateCaption();
}

bool TMainForm::openAlbumFile(const QString& path) {
    return albumFileCommands_->OpenFile(QFileInfo(path).absoluteFilePath());
}

bool TMainForm::confirmLeavingAlbum(const QString& text, const QString& caption) {
    if (!hasUnsavedChanges()) return prompter_->question(text, caption);
    const Prompter::Button answer =
        prompter_->message(text, caption, Prompter::Icon::Information,
                           Prompter::Buttons(Prompter::Button::Ok) | Prompter::Button::Save |
                               Prompter::Button::Cancel);
    if (answer == Prompter::Button::Save) return albumFileCommands_->SaveBtnClick();
    return answer == Prompter::Button::Ok;
}

TabHeader* TMainForm::tabHeader(int tab) const {
    return tab >= 0 && tab < TabCount ? headers_[tab] : nullptr;
}

QWidget* TMainForm::contentArea(int tab) const {
    return tab >= 0 && tab < TabCount ? contents_[tab] : nullptr;
}

void TMainForm::setStatusText(const QString& text) {
    statusText_->setText(text);
}

QString TMainForm::statusText() const {
    return statusText_->text();
}

void TMainForm::SetProStatus(int percent) {
    progress_->setProStatus(percent);
}

void TMainForm::postProgress(int percent) {
    SetProStatus(percent);
}

void TMainForm::FormCreate() {
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    programFolder_ = folder;

    // The image operations draw on std::rand.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    setupFileTypeFilter();

    // The album brings the white preview picture and the empty placement array with it.
    album_ = std::make_unique<Album>();
    album_->Placements.setMessageHandler([this](const std::string& text) {
        prompter_->message(QString::fromStdString(text), QStringLiteral("Fehler"),
                           Prompter::Icon::Error, Prompter::Button::Ok);
    });

    pointFolderTreeAtStart();
    cursors_ = std::make_unique<CursorSlots>();
    history_ = new AlbumHistory(*album_, this);
    history_->attachActions(UndoBtn, RedoBtn);
    // Undoing now would change the album under the work, or under the rubber band.
    history_->setRefusal(
        [this] { return busy() || (layoutTab_ && layoutTab_->editor().dragging()); });
    history_->setProgress([this](int percent) { SetProStatus(percent); });
    history_->setUnreadableReport([this](const QStringList& paths) {
        for (const QString& path : paths)
            prompter_->message(
                QStringLiteral("Fehler: Die Datei %1 konnte nicht geladen werden!").arg(path),
                QStringLiteral("Fehler"), Prompter::Icon::None, Prompter::Button::Ok);
    });
    layoutTab_ = new TLayoutTab(*album_, *prompter_, contentArea(LayoutTab));
    layoutTab_->setHistory(history_, UndoBtn, RedoBtn);
    layoutTab_->registerStoredValues(storedValues_);
    layoutTab_->editor().setHooks(editorHooks());
    outputTab_ = new TOutputTab(*album_, *prompter_, *layoutTab_, contentArea(OutputTab));
    outputTab_->setProgress([this](int percent) { SetProStatus(percent); });
    // The window never waits for a picture file: views draw a stand-in from the thumbnail while
    // workers decode, and repaint when the picture is ready.
    layoutTab_->setAsyncPictures(true);
    outputTab_->setAsyncPictures(true);
    outputTab_->setPrintStop({stopBtn_,
                              [this](bool visible) {
                                  stopRequested_ = false;
                                  stopBtn_->setVisible(visible);
                              },
                              [this] { return stopRequested_; }});
    storedValues_.addChecked(QStringLiteral("CutMarksCheck.Checked"), outputTab_->CutMarksCheck);
    readFavourites();
    Setsavedfilename(QString());
    album_->SelectedPlacement = -1;
    disablePlacementControls();
}

EditorHooks TMainForm::editorHooks() {
    // The editor lives inside this window, which outlives it; the viewer is made after the tabs.
    EditorHooks hooks;
    hooks.statusText = [this](const QString& text) { setStatusText(text); };
    hooks.cursor = [this](int slot) { return cursors_->at(slot); };
    hooks.showPicture = [this](const ImageBuffer& picture, const QString& path) {
        if (viewPicForm_) viewPicForm_->showPicture(picture, path);
    };
    hooks.progress = [this](int percent) { SetProStatus(percent); };
    return hooks;
}

void TMainForm::setupFileTypeFilter() {
    addTab_->setupFileTypeFilter();
}

void TMainForm::pointFolderTreeAtStart() {
    // The program's own folder is a build or system folder on Linux: the user's pictures are
    // where browsing starts (the first favourite, read later, and the folder browsed last, restored
    // when the window is shown, take precedence).
    addTab_->pointFolderTreeAtPictures();
}

void TMainForm::readFavourites() {
    addTab_->readFavourites();
}

void TMainForm::disablePlacementControls() {
    layoutTab_->setPlacementControlsEnabled(false);
}

void TMainForm::stopThumbnailBrowser() {
    if (addTab_ && addTab_->thumbBrowser()) addTab_->thumbBrowser()->stop();
}

void TMainForm::FormShow() {
    addTab_->PageControl3Change();
}

void TMainForm::FormDestroy() {
    if (!album_) return;
    deldib(album_->PreviewImage);
    album_->DelallPics();
    album_.reset();
}

void TMainForm::saveStoredValues() {
    if (valuesSaved_) return;
    valuesSaved_ = true;
    storedValues_.save();
}

void TMainForm::showEvent(QShowEvent* event) {
    // The stored values (the active sub-tab among them) must be in place before FormShow reads
    // them; the show event comes before the window is mapped, so a restored position shows at once.
    if (!shownOnce_ && !event->spontaneous()) {
        shownOnce_ = true;
        storedValues_.restore();
        // The stored values are the user's settings, not changes to the untitled album.
        if (album_->AlbumFileName.empty() && album_->PictureCount() == 0)
            Setsavedfilename(QString());
        FormShow();
    }
    QMainWindow::showEvent(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Asking now would leave the change or the print half done behind the question.
    if (busy()) {
        event->ignore();
        return;
    }
    const bool ok = confirmLeavingAlbum(
        QStringLiteral(
            "Hiermit beenden Sie das Programm! Alle nicht gespeicherten Daten gehen verloren!"),
        QStringLiteral("Programm beenden"));
    if (!ok) {
        event->ignore();
        return;
    }
    stopThumbnailBrowser();
    saveStoredValues();
    event->accept();
}

void TMainForm::PageControl2Change() {
    // A thumbnail's data or a placement's size belongs to the tab it was shown on.
    setStatusText(QString());
    if (PageControl2->currentIndex() == LayoutTab) layoutTab_->editor().ShowSizeInfo();
}

void TMainForm::AboutBtnClick() {
    TAboutBox box(this);
    box.exec();
}

void TMainForm::ExitBtnClick() {
    close();
}

}  // namespace pr
