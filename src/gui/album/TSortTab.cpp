#include "gui/album/TSortTab.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/album/Album.h"
#include "gui/album/AlbumCommands.h"
#include "gui/album/AlbumList.h"
#include "gui/album/PictureOrder.h"
#include "gui/album/SortPicturePanel.h"
#include "gui/undo/ReorderPicturesCommand.h"

namespace pr {

TSortTab::TSortTab(AlbumCommands& commands, QWidget* parent)
    : QWidget(parent), commands_(commands) {
    setObjectName(QStringLiteral("SortTab"));
    SortBox = new QListWidget(this);
    SortBox->setObjectName(QStringLiteral("SortBox"));
    SortBox->setSelectionMode(QAbstractItemView::SingleSelection);
    SortBox->installEventFilter(this);
    UpNow = new QPushButton(QStringLiteral("Nach oben verschieben"), this);
    UpNow->setObjectName(QStringLiteral("UpNow"));
    DownNow = new QPushButton(QStringLiteral("Nach unten verschieben"), this);
    DownNow->setObjectName(QStringLiteral("DownNow"));
    SortNameBtn = new QPushButton(QStringLiteral("Nach Namen sortieren..."), this);
    SortNameBtn->setObjectName(QStringLiteral("SortNameBtn"));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(UpNow);
    buttons->addWidget(DownNow);
    buttons->addSpacing(12);
    buttons->addWidget(SortNameBtn);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(SortBox, 1);
    layout->addLayout(buttons);
    layout->addWidget(new SortPicturePanel(this));

    connect(UpNow, &QPushButton::clicked, this, &TSortTab::UpNowClick);
    connect(DownNow, &QPushButton::clicked, this, &TSortTab::DownNowClick);
    connect(SortNameBtn, &QPushButton::clicked, this, &TSortTab::SortNameBtnClick);
    connect(SortBox, &QListWidget::itemDoubleClicked, this, &TSortTab::SortBoxDblClick);
    connect(&commands_, &AlbumCommands::picturesChanged, this, &TSortTab::refill);
}

void TSortTab::refill() {
    SortBox->clear();
    for (const AlbumImage& picture : commands_.album().Pictures)
        SortBox->addItem(AlbumCommands::fileNamePart(picture.FileName));
    if (SortBox->count() > 0) SortBox->setCurrentRow(0);
}

void TSortTab::UpNowClick() {
    const int i = SortBox->currentRow();
    std::vector<int32_t> before = pictureKeyOrder(commands_.album());
    if (!movePictureUp(commands_.album(), i)) return;
    commands_.record(new ReorderPicturesCommand(commands_.album(), std::move(before),
                                                QStringLiteral("Nach oben verschieben")));
    commands_.UpdateListBox();
    SortBox->setCurrentRow(i - 1);
}

void TSortTab::DownNowClick() {
    const int i = SortBox->currentRow();
    std::vector<int32_t> before = pictureKeyOrder(commands_.album());
    if (!movePictureDown(commands_.album(), i)) return;
    commands_.record(new ReorderPicturesCommand(commands_.album(), std::move(before),
                                                QStringLiteral("Nach unten verschieben")));
    commands_.UpdateListBox();
    SortBox->setCurrentRow(i + 1);
}

void TSortTab::SortNameBtnClick() {
    std::vector<int32_t> before = pictureKeyOrder(commands_.album());
    sortPicturesByPath(commands_.album());
    commands_.record(new ReorderPicturesCommand(commands_.album(), std::move(before),
                                                QStringLiteral("Nach Namen sortieren")));
    commands_.UpdateListBox();
    if (SortBox->count() > 0) SortBox->setCurrentRow(0);
}

void TSortTab::SortBoxDblClick() {
    const int i = SortBox->currentRow();
    if (i < 0 || i >= commands_.album().PictureCount()) return;
    if (albumList_) albumList_->setCurrentRow(i, QItemSelectionModel::NoUpdate);
    commands_.showLarge(i);
}

bool TSortTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SortBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            SortBoxDblClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pr
