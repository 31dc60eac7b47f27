// A stand-in for a file manager in the real X drag test: a small window at the top-left corner of
// the screen that, when a mouse button is pressed on it, drags the files named on its command
// line as text/uri-list to wherever the button is released. It prints "bereit X Y" (the global
// point to press) once it is on the screen, and "fertig N" (the drop action) when the drag ends;
// it stays a few seconds longer to hand over the data, then ends.

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QList<QUrl> files) : files_(std::move(files)) {
        setWindowTitle(QStringLiteral("Ziehquelle"));
        setAutoFillBackground(true);
        setPalette(QPalette(Qt::darkCyan));
    }

protected:
    void showEvent(QShowEvent*) override {
        // The window system needs a moment to map the window before the pointer can reach it.
        QTimer::singleShot(300, this, [this] {
            const QPoint centre = mapToGlobal(rect().center());
            std::printf("bereit %d %d\n", centre.x(), centre.y());
            std::fflush(stdout);
        });
    }
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        data->setUrls(files_);
        // On the heap: X hands the data over after exec() returned, from the drag object, and Qt
        // lets go of it when that is done.
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction action = drag->exec(Qt::CopyAction);
        std::printf("fertig %d\n", int(action));
        std::fflush(stdout);
        // The drag is over for the source once it sent the drop, but the target fetches the data
        // afterwards, from the source: a file manager is still there when it does.
        QTimer::singleShot(2000, qApp, &QCoreApplication::quit);
    }

private:
    QList<QUrl> files_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QList<QUrl> files;
    for (int i = 1; i < argc; ++i) files << QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i]));
    DragSource source(files);
    source.setGeometry(10, 10, 120, 80);
    source.show();
    // Never hang a test: a drag that does not come ends the helper.
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
