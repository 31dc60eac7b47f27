#include "gui/browse/TAddTab.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/imaging/RasterLibrary.h"
#include "core/io/PathText.h"
#include "gui/album/AlbumCommands.h"
#include "gui/album/AlbumList.h"
#include "gui/album/AlbumPanel.h"
#include "gui/app/TMainForm.h"
#include "gui/browse/FavouritesList.h"
#include "gui/browse/FileList.h"
#include "gui/browse/FileTypeBox.h"
#include "gui/browse/FolderTree.h"
#include "gui/browse/PreviewBox.h"
#include "gui/browse/ThumbBrowser.h"

namespace pr {

namespace {
QString withSeparator(const QString& folder) {
    return QString::fromStdString(WithBackslash(folder.toStdString()));
}
}  // namespace

TAddTab::TAddTab(TMainForm& form, AlbumCommands& commands, QWidget* parent)
    : QWidget(parent), form_(form), commands_(commands) {
    setObjectName(QStringLiteral("AddTab"));
    PrefListBox = new FavouritesList(this);
    JamShellTree1 = new FolderTree(this);
    PageControl3 = new QTabWidget(this);
    PageControl3->setObjectName(QStringLiteral("PageControl3"));
    fileListPage_ = new QWidget(PageControl3);
    JamShellList1 = new FileList(fileListPage_);
    auto* listLayout = new QVBoxLayout(fileListPage_);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(JamShellList1);
    // The thumbnail browser moves in here.
    browserPage_ = new QWidget(PageControl3);
    browserPage_->setObjectName(QStringLiteral("BrowserPage"));
    PageControl3->addTab(fileListPage_, QStringLiteral("Dateiliste"));
    PageControl3->addTab(browserPage_, QStringLiteral("Bild Browser"));
    FilterComboBox1 = new FileTypeBox(this);
    DibPrevPaint = new PreviewBox([this]() { return &commands_.album().PreviewImage; }, this);
    albumPanel_ = new AlbumPanel(commands_, this);

    auto* favourites = new QHBoxLayout;
    favourites->addWidget(new QLabel(QStringLiteral("Lieblings Ordner:"), this));
    favourites->addWidget(PrefListBox, 1);
    auto* browse = new QHBoxLayout;
    browse->addWidget(JamShellTree1);
    browse->addWidget(PageControl3, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(FilterComboBox1);
    right->addWidget(DibPrevPaint, 1);
    auto* lower = new QHBoxLayout;
    lower->addWidget(albumPanel_, 3);
    lower->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(favourites);
    layout->addLayout(browse, 3);
    layout->addLayout(lower, 2);

    connect(JamShellTree1, &FolderTree::JamShellTree1Change, JamShellList1, &FileList::showFolder);
    connect(JamShellList1, &FileList::openFolder, this,
            [this](const QString& path) { JamShellTree1->setSelectedFolder(path); });
    connect(JamShellList1, &FileList::previewFile, &commands_, &AlbumCommands::openfilenow);
    connect(FilterComboBox1, &FileTypeBox::maskChanged, JamShellList1, &FileList::setFilter);
    connect(PrefListBox, &FavouritesList::favouriteChosen, this,
            [this](const QString& folder) { JamShellTree1->setSelectedFolder(folder); });
    connect(PageControl3, &QTabWidget::currentChanged, this, &TAddTab::PageControl3Change);
    connect(&commands_, &AlbumCommands::previewChanged, DibPrevPaint,
            qOverload<>(&QWidget::update));

    AlbumList* imageList = albumPanel_->imageList();
    imageList->setAcceptedSource(JamShellList1);
    connect(albumPanel_->addButton(), &QPushButton::clicked, this, &TAddTab::AddBtnClick);
    connect(imageList, &AlbumList::droppedFromFileList, this, &TAddTab::AddBtnClick);
    connect(imageList, &AlbumList::filesDropped, this, &TAddTab::addDroppedFiles);

    form_.storedValues().addCurrentPage(QStringLiteral("PageControl3.ActivePage"), PageControl3);
    // The folder browsed last; a favourite, when there is one, is where browsing starts instead.
    form_.storedValues().add(
        QStringLiteral("JamShellTree1.SelectedFolder"),
        [this] { return QVariant(JamShellTree1->SelectedFolder()); },
        [this](const QVariant& folder) {
            if (PrefListBox->count() == 0) JamShellTree1->setSelectedFolder(folder.toString());
        });

    thumbBrowser_ = new ThumbBrowser(
        browserPage_, [this]() { return JamShellTree1->SelectedFolder(); }, this);
    // The tree only reports a move once it happened; the run of the old folder is stopped first,
    // as a "changing" event would have done.
    connect(JamShellTree1, &FolderTree::JamShellTree1Change, thumbBrowser_, [this]() {
        thumbBrowser_->JamShellTree1Changing();
        thumbBrowser_->JamShellTree1Change(PageControl3->currentWidget() == browserPage_);
    });
    connect(thumbBrowser_, &ThumbBrowser::statusTextChanged, &form_, &TMainForm::setStatusText);
    connect(thumbBrowser_, &ThumbBrowser::progressReset, &form_,
            [this]() { form_.SetProStatus(0); });
    connect(thumbBrowser_, &ThumbBrowser::addPictureRequested, this,
            [this](const QString& path, const QString& folder) {
                const bool added = commands_.AddPictureFile(path);
                commands_.UpdateListBox();
                if (added) PrefListBox->AddToPrefFolders(folder);
            });
}

void TAddTab::setupFileTypeFilter() {
    FilterComboBox1->setFilterText(QString::fromStdString(GetDIBOpenFilter()));
}

void TAddTab::pointFolderTreeAt(const QString& folder) {
    JamShellTree1->setSelectedFolder(folder);
}

void TAddTab::pointFolderTreeAtPictures() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!JamShellTree1->setSelectedFolder(pictures))
        JamShellTree1->setSelectedFolder(QDir::homePath());
}

void TAddTab::readFavourites() {
    PrefListBox->readFavourites(form_.ProgramFolder());
    if (PrefListBox->count() > 0) JamShellTree1->setSelectedFolder(PrefListBox->item(0)->text());
}

void TAddTab::PageControl3Change() {
    albumPanel_->addButton()->setEnabled(PageControl3->currentWidget() == fileListPage_);
    if (thumbBrowser_)
        thumbBrowser_->PageControl3Change(PageControl3->currentWidget() == browserPage_);
}

void TAddTab::AddBtnClick() {
    // Dropping on the album list comes here too; the thumbnail browser's marks are not used.
    if (PageControl3->currentWidget() != fileListPage_) return;
    const QString folder = withSeparator(JamShellTree1->SelectedFolder());
    if (folder.isEmpty()) return;
    QStringList paths;
    for (const QString& name : JamShellList1->selectedFileNames()) paths.push_back(folder + name);
    const int added = commands_.addPictureFiles(paths);
    commands_.UpdateListBox();
    if (added > 0) PrefListBox->AddToPrefFolders(folder);
}

void TAddTab::addDroppedFiles(const QStringList& paths) {
    QStringList added;
    commands_.addPictureFiles(paths, &added);
    commands_.UpdateListBox();
    // Each folder a picture came from moves up; the folder of the last one ends first.
    QString previous;
    for (const QString& path : added) {
        const QString folder = withSeparator(QFileInfo(path).absolutePath());
        if (folder != previous) PrefListBox->AddToPrefFolders(folder);
        previous = folder;
    }
}

}  // namespace pr
