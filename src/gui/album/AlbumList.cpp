#include "gui/album/AlbumList.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

namespace pr {

AlbumList::AlbumList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("ImageList"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false);
}

QStringList AlbumList::droppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        if (!QFileInfo(path).isDir()) files.push_back(path);
    }
    return files;
}

bool AlbumList::acceptable(const QDropEvent* event) const {
    const QObject* source = event->source();
    if (source) return acceptedSource_ && source == acceptedSource_.data();
    // From another program: only when it carries at least one local file.
    return !droppedFiles(event->mimeData()).isEmpty();
}

void AlbumList::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptable(event)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void AlbumList::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptable(event)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void AlbumList::dropEvent(QDropEvent* event) {
    if (!acceptable(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (event->source())
        emit droppedFromFileList();
    else
        emit filesDropped(droppedFiles(event->mimeData()));
}

void AlbumList::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit enterPressed();
            event->accept();
            return;
        case Qt::Key_Delete:
            emit deletePressed();
            event->accept();
            return;
        default:
            QListWidget::keyPressEvent(event);
    }
}

}  // namespace pr
