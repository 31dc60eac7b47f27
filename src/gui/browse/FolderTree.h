#pragma once
// FolderTree: the folder tree of the first tab, over the whole file system, folders only. The
// model watches every folder it has read, so folders made or removed outside the program appear
// and disappear while the program runs.
//
// SelectedFolder() is the selected folder's path, or empty when nothing is selected.
// setSelectedFolder() opens the parents as needed and announces the change as a click would.
// When the selected folder (or one of its parents) vanishes, the selection moves to the nearest
// folder that is left, rather than to a neighbour the user never chose.

#include <QString>
#include <QTreeView>

class QFileSystemModel;

namespace pr {

class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);

    QString SelectedFolder() const;
    // False (selection unchanged) for a path that is no existing folder.
    bool setSelectedFolder(const QString& path);

    QFileSystemModel* fileModel() const { return model_; }

signals:
    // After the selection moved; `folder` as SelectedFolder().
    void JamShellTree1Change(const QString& folder);

private:
    void rowsGoing(const QModelIndex& parent, int first, int last);
    QFileSystemModel* model_;
    QString lastFolder_;
    QString scrollPending_;  // parent folder of a folder chosen in code, until it has been read
};

}  // namespace pr
