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

namespace pr {

namespace {

// The decorative panel: a title over a fanned stack of picture frames.
class SortPicturePanel : public QFrame {
public:
    explicit SortPicturePanel(QWidget* parent) : QFrame(parent) {
        setObjectName(QStringLiteral("SortPicturePanel"));
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        // At least 170 pixels, and always as wide as its title needs in the desktop's font.
        setMinimumWidth(170);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        auto* title = new QLabel(QStringLiteral("Bilder sortieren..."), this);
        QFont bold = title->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.3);
        title->setFont(bold);
        title->setAlignment(Qt::AlignHCenter);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(title);
        layout->addStretch(1);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF centre(width() / 2.0, height() / 2.0 + 20);
        const QColor fills[] = {QColor(240, 201, 166), QColor(166, 201, 240),
                                QColor(201, 240, 166)};
        for (int i = 0; i < 3; ++i) {
            p.save();
            p.translate(centre + QPointF((i - 1) * 14, (i - 1) * 10));
            p.rotate((i - 1) * 9);
            p.setPen(QPen(Qt::darkGray, 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(-40, -30, 80, 60));
            p.setBrush(fills[i]);
            p.drawRect(QRectF(-34, -24, 68, 42));
            p.restore();
        }
    }
};

}  // namespace

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
    if (!movePictureUp(commands_.album(), i)) return;
    commands_.UpdateListBox();
    SortBox->setCurrentRow(i - 1);
}

void TSortTab::DownNowClick() {
    const int i = SortBox->currentRow();
    if (!movePictureDown(commands_.album(), i)) return;
    commands_.UpdateListBox();
    SortBox->setCurrentRow(i + 1);
}

void TSortTab::SortNameBtnClick() {
    sortPicturesByPath(commands_.album());
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
