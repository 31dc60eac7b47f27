#include "gui/browse/FolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>

namespace pr {

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    setObjectName(QStringLiteral("JamShellTree1"));
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    // Before the view's selection model is attached: this handler must see the selection before
    // the selection model moves it to a sibling of a vanished folder.
    connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, &FolderTree::rowsGoing);
    model_->setRootPath(QDir::rootPath());
    setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c) hideColumn(c);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFixedWidth(241);
    // The model reads folders in the background and sorts them afterwards, so a folder chosen in
    // code moves while the rows above it arrive and settle; it is scrolled into view again each
    // time.
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this] { keepChosenInView(); });
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { keepChosenInView(); });
    connect(model_, &QAbstractItemModel::layoutChanged, this, [this] { keepChosenInView(); });
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, [this] { keepInView_ = false; });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        const QString folder = SelectedFolder();
        if (folder == lastFolder_) return;
        lastFolder_ = folder;
        emit JamShellTree1Change(folder);
    });
}

QString FolderTree::SelectedFolder() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? model_->filePath(current) : QString();
}

bool FolderTree::setSelectedFolder(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isDir()) return false;
    const QModelIndex index = model_->index(QDir::cleanPath(path));
    if (!index.isValid()) return false;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent()) expand(p);
    setCurrentIndex(index);
    keepInView_ = true;
    keepChosenInView();
    return true;
}

void FolderTree::keepChosenInView() {
    if (!keepInView_ || scrollQueued_) return;
    scrollQueued_ = true;
    // Once the rows are laid out; a scroll now would use the geometry of rows still moving.
    QTimer::singleShot(0, this, [this] {
        scrollQueued_ = false;
        if (keepInView_ && currentIndex().isValid())
            scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
    });
}

void FolderTree::showEvent(QShowEvent* event) {
    QTreeView::showEvent(event);
    keepChosenInView();
}

bool FolderTree::viewportEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
            keepInView_ = false;
            break;
        default:
            break;
    }
    return QTreeView::viewportEvent(event);
}

void FolderTree::keyPressEvent(QKeyEvent* event) {
    keepInView_ = false;
    QTreeView::keyPressEvent(event);
}

void FolderTree::rowsGoing(const QModelIndex& parent, int first, int last) {
    // Find whether the selected folder lies at or below one of the rows about to go.
    for (QModelIndex i = currentIndex(); i.isValid(); i = i.parent()) {
        if (i.parent() == parent && i.row() >= first && i.row() <= last) {
            if (parent.isValid()) {
                setCurrentIndex(parent);
            } else {
                selectionModel()->clearCurrentIndex();
            }
            return;
        }
    }
}

}  // namespace pr
