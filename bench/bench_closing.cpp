// How long the window takes to go once closing was allowed, while the thumbnail browser is busy
// with large photos that cannot be decoded at reduced size (PNG). The wait for the loader thread
// is what this measures; the anchor is the same close with the browser idle.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "BenchPhotos.h"
#include "gui/app/TMainForm.h"
#include "gui/browse/FavouritesList.h"
#include "gui/browse/FolderTree.h"
#include "gui/browse/TAddTab.h"
#include "gui/browse/ThumbBrowser.h"
#include "gui/toolkit/Prompter.h"
#include "gui/toolkit/StoredValues.h"

namespace {

// Answers OK to the closing question.
class YesPrompter : public pr::Prompter {
public:
    Button message(const QString&, const QString&, Icon, Buttons) override { return Button::Ok; }
};

struct Photos {
    bench::ScratchFolder folder{"pxr-bench-closing-"};
    Photos() {
        // 24 megapixels each: a PNG has no reduced decoding, so each thumbnail decodes it whole.
        QImage photo(6000, 4000, QImage::Format_RGB888);
        std::vector<uint8_t> row;
        std::mt19937 rng(1);
        for (int y = 0; y < photo.height(); ++y) {
            bench::photoRow(row, y, photo.width(), photo.height(), rng);
            std::copy(row.begin(), row.end(), photo.scanLine(y));
        }
        for (int i = 0; i < 2; ++i)
            photo.save(QString::fromStdString(
                           (folder.dir / ("foto" + std::to_string(i) + ".png")).string()),
                       "PNG");
    }
    QString path() const { return QString::fromStdString(folder.dir.string()); }
};

Photos& photos() {
    static Photos p;
    return p;
}

void closeWindow(benchmark::State& state, bool browsing) {
    YesPrompter prompter;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<pr::TMainForm>(&prompter);
        form->show();
        auto* addTab = form->findChild<pr::TAddTab*>();
        addTab->folderTree()->setSelectedFolder(photos().path());
        if (browsing) {
            addTab->pageControl3()->setCurrentWidget(addTab->browserPage());
            // Well inside the decoding of the first photo.
            QTest::qWait(300);
            if (!addTab->thumbBrowser()->running()) state.SkipWithError("the browser is not busy");
        }
        state.ResumeTiming();
        form->close();
        form.reset();
    }
}

void BM_CloseIdle(benchmark::State& state) {
    closeWindow(state, false);
}
BENCHMARK(BM_CloseIdle)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_CloseWhileBrowsingLargePhotos(benchmark::State& state) {
    closeWindow(state, true);
}
BENCHMARK(BM_CloseWhileBrowsingLargePhotos)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    bench::ScratchFolder settings("pxr-bench-closing-settings-");
    pr::FavouritesList::setFileOverride(
        QString::fromStdString((settings.dir / "folders.dat").string()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    pr::FavouritesList::setFileOverride(QString());
    return 0;
}
