#pragma once
// TAddTab: the tab "Bilder hinzufügen". Above: the favourite folders, the folder tree and the
// inner tabs "Dateiliste" (the file list of the tree's folder) and "Bild Browser". Below: the
// album list with its buttons, the file-type box and the preview box.
//
// The file list always shows the tree's folder, and a listed file's path is built from the tree's
// folder and the item's name. "&Hinzufügen" works only while the file list is the active inner tab.

#include <QStringList>
#include <QWidget>

class QTabWidget;

namespace pr {

class AlbumCommands;
class AlbumPanel;
class FavouritesList;
class FileList;
class FileTypeBox;
class FolderTree;
class PreviewBox;
class ThumbBrowser;
class TMainForm;

class TAddTab : public QWidget {
    Q_OBJECT
public:
    TAddTab(TMainForm& form, AlbumCommands& commands, QWidget* parent = nullptr);

    // Start-up steps, called by the window in their order. Browsing starts at the first favourite;
    // without favourites at the folder browsed last (a stored value, restored when the window is
    // shown); without that at the user's pictures folder, or else at home.
    void setupFileTypeFilter();
    void pointFolderTreeAt(const QString& folder);
    void pointFolderTreeAtPictures();
    void readFavourites();

    void PageControl3Change();
    void AddBtnClick();
    // Files dropped from outside the program, added in the order they came.
    void addDroppedFiles(const QStringList& paths);

    FolderTree* folderTree() const { return JamShellTree1; }
    FileList* fileList() const { return JamShellList1; }
    FavouritesList* favourites() const { return PrefListBox; }
    FileTypeBox* fileTypeBox() const { return FilterComboBox1; }
    PreviewBox* previewBox() const { return DibPrevPaint; }
    QTabWidget* pageControl3() const { return PageControl3; }
    QWidget* fileListPage() const { return fileListPage_; }
    QWidget* browserPage() const { return browserPage_; }
    AlbumPanel* albumPanel() const { return albumPanel_; }
    ThumbBrowser* thumbBrowser() const { return thumbBrowser_; }

private:
    TMainForm& form_;
    AlbumCommands& commands_;
    FavouritesList* PrefListBox;
    FolderTree* JamShellTree1;
    QTabWidget* PageControl3;
    QWidget* fileListPage_;
    QWidget* browserPage_;
    FileList* JamShellList1;
    FileTypeBox* FilterComboBox1;
    PreviewBox* DibPrevPaint;
    AlbumPanel* albumPanel_;
    ThumbBrowser* thumbBrowser_ = nullptr;
};

}  // namespace pr
