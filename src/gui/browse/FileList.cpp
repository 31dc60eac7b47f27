#include "gui/browse/FileList.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

#include "core/io/PathText.h"
#include "gui/browse/FileTypeBox.h"

namespace pr {

FileList::FileList(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    setObjectName(QStringLiteral("JamShellList1"));
    model_->setReadOnly(true);
    // Folders stay listed whatever the mask (they are opened from here); case-insensitive masks.
    model_->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
    model_->setNameFilterDisables(false);
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    header()->setSectionResizeMode(0, QHeaderView::Interactive);
    setColumnWidth(0, 180);
    connect(this, &QAbstractItemView::doubleClicked, this, &FileList::JamShellList1DblClick);
    showFolder(QString());
}

void FileList::showFolder(const QString& folder) {
    folder_ = folder;
    if (folder.isEmpty()) {
        // Nothing selected in the tree: no folder to build paths from, so nothing can be chosen.
        setRootIndex(QModelIndex());
        clearSelection();
        setEnabled(false);
        return;
    }
    setEnabled(true);
    setRootIndex(model_->setRootPath(folder));
    clearSelection();
}

void FileList::setFilter(const QString& mask) {
    model_->setNameFilters(maskPatterns(mask));
}

QStringList FileList::selectedFileNames() const {
    if (folder_.isEmpty()) return {};
    QModelIndexList rows = selectionModel()->selectedRows(0);
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList names;
    for (const QModelIndex& i : rows)
        if (!model_->isDir(i)) names.push_back(model_->fileName(i));
    return names;
}

QStringList FileList::shownNames() const {
    QStringList names;
    const QModelIndex root = rootIndex();
    for (int r = 0; r < model_->rowCount(root); ++r)
        names.push_back(model_->fileName(model_->index(r, 0, root)));
    return names;
}

QModelIndex FileList::chosenIndex() const {
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()->isSelected(current))
        return current.siblingAtColumn(0);
    const QModelIndexList rows = selectionModel()->selectedRows(0);
    return rows.isEmpty() ? QModelIndex() : rows.first();
}

void FileList::JamShellList1DblClick() {
    const QModelIndex item = chosenIndex();
    if (!item.isValid() || folder_.isEmpty()) return;
    if (model_->isDir(item)) {
        emit openFolder(model_->filePath(item));
        return;
    }
    emit previewFile(QString::fromStdString(WithBackslash(folder_.toStdString())) +
                     model_->fileName(item));
}

void FileList::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != QAbstractItemView::EditingState) {
        JamShellList1DblClick();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

}  // namespace pr
