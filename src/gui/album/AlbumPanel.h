#pragma once
// AlbumPanel: the lower left of the first tab, the album list with "&Hinzufügen", "&Löschen",
// "&Groß anzeigen" and "Drucken...". Adding needs the file list, so "&Hinzufügen" and the drops
// are handed to the tab that owns the file list.

#include <QWidget>

class QPushButton;

namespace pr {

class AlbumCommands;
class AlbumList;

class AlbumPanel : public QWidget {
    Q_OBJECT
public:
    AlbumPanel(AlbumCommands& commands, QWidget* parent = nullptr);

    AlbumList* imageList() const { return ImageList; }
    QPushButton* addButton() const { return AddBtn; }
    QPushButton* deleteButton() const { return DelBtn; }
    QPushButton* viewButton() const { return ViewBtn; }
    QPushButton* printButton() const { return PrintBtn; }

    void DelBtnClick();
    void ImageListDblClick();
    void ViewBtnClick();

private:
    void refill();
    AlbumCommands& commands_;
    AlbumList* ImageList;
    QPushButton* AddBtn;
    QPushButton* DelBtn;
    QPushButton* ViewBtn;
    QPushButton* PrintBtn;
};

}  // namespace pr
