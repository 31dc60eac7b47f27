#include "gui/album/AlbumPanel.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/album/Album.h"
#include "gui/album/AlbumCommands.h"
#include "gui/album/AlbumList.h"

namespace pr {

AlbumPanel::AlbumPanel(AlbumCommands& commands, QWidget* parent)
    : QWidget(parent), commands_(commands) {
    ImageList = new AlbumList(this);
    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    AddBtn = button("AddBtn", QStringLiteral("&Hinzufügen"));
    DelBtn = button("DelBtn", QStringLiteral("&Löschen"));
    ViewBtn = button("ViewBtn", QStringLiteral("&Groß anzeigen"));
    PrintBtn = button("PrintBtn", QStringLiteral("Drucken..."));
    // The window connects it to the single-picture print of the output tab.
    PrintBtn->setToolTip(QStringLiteral("Das gewählte Bild drucken"));

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton* b : {AddBtn, DelBtn, ViewBtn, PrintBtn}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ImageList, 1);
    layout->addLayout(buttons);

    connect(DelBtn, &QPushButton::clicked, this, &AlbumPanel::DelBtnClick);
    connect(ViewBtn, &QPushButton::clicked, this, &AlbumPanel::ViewBtnClick);
    connect(ImageList, &QListWidget::itemDoubleClicked, this, &AlbumPanel::ImageListDblClick);
    connect(ImageList, &AlbumList::enterPressed, this, &AlbumPanel::ImageListDblClick);
    connect(ImageList, &AlbumList::deletePressed, this, &AlbumPanel::DelBtnClick);
    connect(&commands_, &AlbumCommands::picturesChanged, this, &AlbumPanel::refill);
    // The album comes to life after the tabs are built; it starts empty.
    for (QPushButton* b : {ViewBtn, PrintBtn, DelBtn}) b->setEnabled(false);
}

void AlbumPanel::refill() {
    ImageList->clear();
    const Album& album = commands_.album();
    const int count = album.PictureCount();
    for (const AlbumImage& picture : album.Pictures)
        ImageList->addItem(AlbumCommands::fileNamePart(picture.FileName));
    for (QPushButton* b : {ViewBtn, PrintBtn, DelBtn}) b->setEnabled(count > 0);
    if (count > 0) {
        ImageList->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    }
}

void AlbumPanel::DelBtnClick() {
    QList<int> rows;
    for (const QListWidgetItem* item : ImageList->selectedItems())
        rows.push_back(ImageList->row(item));
    if (rows.isEmpty()) return;
    commands_.removePictures(rows);
}

void AlbumPanel::ImageListDblClick() {
    const QListWidgetItem* item = ImageList->currentItem();
    if (!item || !item->isSelected()) return;
    const int i = ImageList->currentRow();
    const Album& album = commands_.album();
    if (i >= 0 && i < album.PictureCount())
        commands_.openfilenow(
            QString::fromStdString(album.Pictures[static_cast<std::size_t>(i)].FileName));
}

void AlbumPanel::ViewBtnClick() {
    commands_.showLarge(ImageList->currentRow());
}

}  // namespace pr
