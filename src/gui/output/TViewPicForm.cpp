#include "gui/output/TViewPicForm.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include "gui/output/ViewPaintBox.h"
#include "gui/toolkit/Prompter.h"
#include "render/QPainterDibTarget.h"

namespace pr {

namespace {

constexpr int kWheelStep = 20;
// One notch of a common mouse wheel; touchpads deliver it in smaller pieces.
constexpr int kWheelNotch = 120;

}  // namespace

TViewPicForm::TViewPicForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ViewPicForm"));
    setWindowTitle(QStringLiteral("Bild betrachten..."));
    setModal(true);

    BackBtn = new QPushButton(QStringLiteral("Zurück..."), this);
    BackBtn->setObjectName(QStringLiteral("BackBtn"));
    PrintBrn = new QPushButton(QStringLiteral("&Drucken"), this);
    PrintBrn->setObjectName(QStringLiteral("PrintBrn"));
    PrintBrn->setEnabled(false);
    OpenBtn = new QPushButton(QStringLiteral("Öffnen..."), this);
    OpenBtn->setObjectName(QStringLiteral("OpenBtn"));
    ZoomEd = new QSpinBox(this);
    ZoomEd->setObjectName(QStringLiteral("ZoomEd"));
    ZoomEd->setRange(kMinZoom, kMaxZoom);
    ZoomEd->setSingleStep(10);
    ZoomEd->setValue(100);
    ZoomEd->setSuffix(QStringLiteral(" %"));
    auto* zoomLabel = new QLabel(QStringLiteral("Zoom:"), this);
    zoomLabel->setBuddy(ZoomEd);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    // A picture smaller than the window sits in its middle; a larger one starts at its top-left
    // corner (startAtTheCorner).
    ScrollBox1->setAlignment(Qt::AlignCenter);
    // The application-workspace colour of the desktop: a mid grey behind the picture.
    ScrollBox1->setBackgroundRole(QPalette::Mid);
    PaintBox1 = new ViewPaintBox(this, ScrollBox1);
    ScrollBox1->setWidget(PaintBox1);
    PaintBox1->installEventFilter(this);
    ScrollBox1->viewport()->installEventFilter(this);

    auto* bar = new QHBoxLayout;
    bar->addWidget(BackBtn);
    bar->addWidget(PrintBrn);
    bar->addWidget(OpenBtn);
    bar->addStretch(1);
    bar->addWidget(zoomLabel);
    bar->addWidget(ZoomEd);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(ScrollBox1, 1);

    connect(BackBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(OpenBtn, &QPushButton::clicked, this, &TViewPicForm::OpenBtnClick);
    connect(PrintBrn, &QPushButton::clicked, this, &TViewPicForm::PrintBrnClick);
    connect(ZoomEd, qOverload<int>(&QSpinBox::valueChanged), this, &TViewPicForm::ZoomEdChange);

    resize(532, 420);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(), size());
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
}

QSize TViewPicForm::zoomedSize(int width, int height, int zoom) {
    return QSize(static_cast<int>(int64_t{width} * zoom / 100),
                 static_cast<int>(int64_t{height} * zoom / 100));
}

void TViewPicForm::setPicture(const ImageBuffer& picture, const QString& path) {
    picture_ = picture;
    path_ = path;
    DragPanning = false;
    ZoomEdChange();
    startAtTheCorner();
}

void TViewPicForm::startAtTheCorner() {
    // The scroll positions belong to the picture shown before; this one starts afresh.
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
}

void TViewPicForm::showPicture(const ImageBuffer& picture, const QString& path) {
    setPicture(picture, path);
    exec();
}

void TViewPicForm::ZoomEdChange() {
    // Sized here and not only in the paint: a box of no size gets no paint that could size it.
    if (picture_.valid())
        PaintBox1->resize(zoomedSize(picture_.width(), picture_.height(), ZoomEd->value()));
    PaintBox1->update();
}

void TViewPicForm::PaintBox1Paint(QPainter& painter, const QRect& exposed) {
    if (!picture_.valid()) return;
    const QSize z = zoomedSize(picture_.width(), picture_.height(), ZoomEd->value());
    // A size change brings its own paint; drawing now would draw into the old size. Both sides
    // change in one step: a box that became zero wide gets no further paint to fix its height.
    if (PaintBox1->size() != z) {
        PaintBox1->resize(z);
        return;
    }
    // Only the exposed part: at 9000 % a photo is hundreds of thousands of pixels wide, and
    // DrawDib builds every destination row it is asked for.
    const QRect r = exposed.intersected(QRect(QPoint(), z));
    if (r.isEmpty() || z.isEmpty()) return;
    const int64_t w = picture_.width(), h = picture_.height();
    const int sx0 = static_cast<int>(int64_t{r.left()} * w / z.width());
    const int sx1 =
        static_cast<int>(std::min<int64_t>(w, (int64_t{r.right()} + 1) * w / z.width() + 1));
    const int sy0 = static_cast<int>(int64_t{r.top()} * h / z.height());
    const int sy1 =
        static_cast<int>(std::min<int64_t>(h, (int64_t{r.bottom()} + 1) * h / z.height() + 1));
    const int dx0 = static_cast<int>(sx0 * int64_t{z.width()} / w);
    const int dx1 = static_cast<int>(sx1 * int64_t{z.width()} / w);
    const int dy0 = static_cast<int>(sy0 * int64_t{z.height()} / h);
    const int dy1 = static_cast<int>(sy1 * int64_t{z.height()} / h);
    // DrawDib counts source rows from the bottom.
    drawDib(painter, dx0, dy0, dx1 - dx0, dy1 - dy0, picture_, sx0, static_cast<int>(h) - sy1,
            sx1 - sx0, sy1 - sy0, true, false);
}

void TViewPicForm::setPrintHandler(PrintFn print) {
    print_ = std::move(print);
    PrintBrn->setEnabled(static_cast<bool>(print_));
}

void TViewPicForm::PrintBrnClick() {
    // The viewer's own copy: the picture as read from its file, whatever the preview shows now.
    if (print_ && picture_.valid()) print_(picture_, path_, this);
}

void TViewPicForm::OpenBtnClick() {
    if (path_.isEmpty() || DesktopOpener::open(path_, opener_)) return;
    if (prompter_)
        prompter_->message(QStringLiteral("Für diesen Dateityp ist kein Programm eingerichtet."),
                           windowTitle(), Prompter::Icon::Information, Prompter::Button::Ok);
}

void TViewPicForm::wheelScroll(int angleDelta) {
    wheelRest_ += angleDelta;
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    while (wheelRest_ >= kWheelNotch) {
        bar->setValue(bar->value() - kWheelStep);
        wheelRest_ -= kWheelNotch;
    }
    while (wheelRest_ <= -kWheelNotch) {
        bar->setValue(bar->value() + kWheelStep);
        wheelRest_ += kWheelNotch;
    }
}

void TViewPicForm::wheelEvent(QWheelEvent* event) {
    wheelScroll(event->angleDelta().y());
    event->accept();
}

bool TViewPicForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel &&
        (watched == ScrollBox1->viewport() || watched == PaintBox1)) {
        wheelScroll(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }
    if (watched != PaintBox1) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            DragPanning = true;
            GrabX = p.x();
            GrabY = p.y();
            return true;
        }
        case QEvent::MouseMove: {
            if (!DragPanning) break;
            // The grabbed point of the picture stays under the mouse: the scroll bars move by the
            // distance between it and the mouse, in the box's own coordinates.
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            QScrollBar* h = ScrollBox1->horizontalScrollBar();
            QScrollBar* v = ScrollBox1->verticalScrollBar();
            h->setValue(h->value() + GrabX - p.x());
            v->setValue(v->value() + GrabY - p.y());
            return true;
        }
        case QEvent::MouseButtonRelease:
            DragPanning = false;
            return true;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pr
