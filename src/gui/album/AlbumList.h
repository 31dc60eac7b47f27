#pragma once
// AlbumList (ImageList): the album's pictures on the first tab, one line per picture (file name
// without folder), several lines selectable.
//
// Drops: inside the program only the file list is an accepted source (its own selection is then
// added); from outside the program, a desktop file manager's text/uri-list of local files is
// accepted and those files are added. Every other drag is refused.

#include <QListWidget>
#include <QPointer>
#include <QStringList>

namespace pr {

class AlbumList : public QListWidget {
    Q_OBJECT
public:
    explicit AlbumList(QWidget* parent = nullptr);

    void setAcceptedSource(QWidget* source) { acceptedSource_ = source; }

    // The local files a drop from outside the program carries, folders left out; empty when the
    // drop is not acceptable.
    static QStringList droppedFiles(const QMimeData* data);

signals:
    void droppedFromFileList();
    void filesDropped(const QStringList& paths);
    void enterPressed();
    void deletePressed();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool acceptable(const QDropEvent* event) const;
    QPointer<QWidget> acceptedSource_;
};

}  // namespace pr
