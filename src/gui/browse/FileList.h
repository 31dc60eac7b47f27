#pragma once
// FileList: the details view on the tab "Dateiliste". It shows the folder that the folder tree has
// selected (the window builds a listed file's path from the tree's folder and the item's name, so
// the two must never disagree), filtered by the file-type box's mask. Masks match names without
// regard to case, so "*.jpg" lists "A.JPG" as well.
//
// Selected items can be dragged; the album list accepts drops from this view only.

#include <QString>
#include <QStringList>
#include <QTreeView>

class QFileSystemModel;

namespace pr {

class FileList : public QTreeView {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    void showFolder(const QString& folder);
    QString folder() const { return folder_; }
    // Patterns separated by ';' as the file-type box delivers them.
    void setFilter(const QString& mask);

    // Names on disk of the selected entries that are files, in list order.
    QStringList selectedFileNames() const;
    // Names of the entries the view lists at the moment, in list order (folders included).
    QStringList shownNames() const;

    QFileSystemModel* fileModel() const { return model_; }

signals:
    // A double-click or Enter on a folder.
    void openFolder(const QString& path);
    // A double-click or Enter on a file.
    void previewFile(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void JamShellList1DblClick();
    QModelIndex chosenIndex() const;
    QFileSystemModel* model_;
    QString folder_;
};

}  // namespace pr
