// How long the window is away from its event loop at a time while a large album is opened, its
// page is shown at 25 % and 100 % and paged through, and while photos are added: the longest gap
// between two ticks of a 5 ms timer is the longest the window could not react to anything.
//
//   bench_window_stall ALBUM.pxr [PHOTO.jpg ...]   open the album, page through it, add the photos
//
// Albums and photos: bench_album_scale --make DIR N or --copies DIR N.

#include <QApplication>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "BenchPhotos.h"
#include "gui/album/AlbumCommands.h"
#include "gui/app/TMainForm.h"
#include "gui/browse/FavouritesList.h"
#include "gui/layout/RenditionScheduler.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/toolkit/Prompter.h"

namespace {

class YesPrompter : public pr::Prompter {
public:
    Button message(const QString&, const QString&, Icon, Buttons) override { return Button::Ok; }
};

// The longest gap between two ticks of a fast timer since the last reset.
class StallProbe {
public:
    StallProbe() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout,
                         [this] { longest_ = std::max(longest_, clock_.restart()); });
        clock_.start();
        timer_.start();
    }
    void reset() {
        QCoreApplication::processEvents();
        clock_.restart();
        longest_ = 0;
    }
    qint64 longestMs() {
        longest_ = std::max(longest_, clock_.elapsed());
        return longest_;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

// Runs `step`, then the event loop until the window's pictures are made.
void measure(const char* what, StallProbe& probe, const std::function<void()>& step) {
    probe.reset();
    QElapsedTimer t;
    t.start();
    step();
    // Painting asks for the renditions it lacks, and their arrival paints again: run both until
    // nothing is left to make.
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::processEvents();
        pr::RenditionScheduler::instance().waitForIdle();
    }
    QCoreApplication::processEvents();
    std::printf("%-44s %8.0f ms, longest stall %4lld ms\n", what, double(t.nsecsElapsed()) / 1e6,
                static_cast<long long>(probe.longestMs()));
}

}  // namespace

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "bench_window_stall ALBUM.pxr [PHOTO.jpg ...]\n");
        return 2;
    }
    bench::ScratchFolder settings("pxr-bench-stall-settings-");
    pr::FavouritesList::setFileOverride(
        QString::fromStdString((settings.dir / "folders.dat").string()));
    YesPrompter prompter;
    {
        pr::TMainForm form(&prompter);
        form.resize(1280, 1000);
        form.show();
        QCoreApplication::processEvents();
        StallProbe probe;
        pr::TLayoutTab& layout = *form.layoutTab();
        measure("open the album", probe,
                [&] { form.openAlbumFile(QString::fromLocal8Bit(argv[1])); });
        std::printf("  %d pictures, %u placements\n", form.album().PictureCount(),
                    form.album().placementCount());
        measure("show the page and the strip at 25 %", probe, [&] {
            form.pageControl()->setCurrentIndex(pr::TMainForm::LayoutTab);
            layout.ZoomEd->setValue(25);
        });
        measure("the page at 100 %", probe, [&] { layout.ZoomEd->setValue(100); });
        measure("pages 2 to 6 at 100 %", probe, [&] {
            for (int page = 2; page <= 6; ++page) {
                layout.APageEd->setValue(page);
                QCoreApplication::processEvents();
            }
        });
        if (argc > 2) {
            QStringList photos;
            for (int i = 2; i < argc; ++i) photos << QString::fromLocal8Bit(argv[i]);
            auto* commands = form.findChild<pr::AlbumCommands*>();
            if (!commands) return 1;
            measure("add the photos", probe, [&] { commands->addPictureFiles(photos); });
            std::printf("  %d pictures\n", form.album().PictureCount());
        }
        form.album().DelallPics();
    }
    pr::FavouritesList::setFileOverride(QString());
    return 0;
}
