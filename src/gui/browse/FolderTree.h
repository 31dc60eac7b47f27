#pragma once
// FolderTree: the folder tree of the first tab, over the whole file system, folders only. The
// model watches every folder it has read, so folders made or removed outside the program appear
// and disappear while the program runs.
//
// SelectedFolder() is the selected folder's path, or empty when nothing is selected.
// setSelectedFolder() opens the parents as needed and announces the change as a click would.
// When the selected folder (or one of its parents) vanishes, the selection moves to the nearest
// folder that is left, rather than to a neighbour the user never chose.
//
// A folder chosen in code is kept in view while the model is still reading the folders above it
// (each read moves the rows below) and when the tree is first shown, until the user takes over
// the tree with the mouse or the keyboard.

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

protected:
    void showEvent(QShowEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rowsGoing(const QModelIndex& parent, int first, int last);
    void keepChosenInView();
    QFileSystemModel* model_;
    QString lastFolder_;
    bool keepInView_ = false;  // a folder chosen in code, until the user takes over the tree
    bool scrollQueued_ = false;
};

}  // namespace pr
