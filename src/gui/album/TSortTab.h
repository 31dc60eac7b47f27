#pragma once
// TSortTab: the tab "Sortieren". The order list SortBox shows the album's pictures in album order;
// the buttons move the current line's picture and sort the album by path. The current line follows
// a moved picture. Double-click or Enter shows the current line's picture large.

#include <QWidget>

class QListWidget;
class QPushButton;

namespace pr {

class AlbumCommands;
class AlbumList;

class TSortTab : public QWidget {
    Q_OBJECT
public:
    TSortTab(AlbumCommands& commands, QWidget* parent = nullptr);

    QListWidget* sortBox() const { return SortBox; }
    QPushButton* upButton() const { return UpNow; }
    QPushButton* downButton() const { return DownNow; }
    QPushButton* sortButton() const { return SortNameBtn; }
    // The album list of the first tab, whose caret line follows "show large".
    void setAlbumList(AlbumList* list) { albumList_ = list; }

    void UpNowClick();
    void DownNowClick();
    void SortNameBtnClick();
    void SortBoxDblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refill();
    AlbumCommands& commands_;
    AlbumList* albumList_ = nullptr;
    QListWidget* SortBox;
    QPushButton* UpNow;
    QPushButton* DownNow;
    QPushButton* SortNameBtn;
};

}  // namespace pr
