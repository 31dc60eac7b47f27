#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <limits>
#include <mutex>
#include <set>
#include <thread>

#include "core/browse/FileCheck.h"
#include "core/browse/ThumbCacheFormat.h"
#include "core/browse/ThumbCacheReader.h"
#include "gui/browse/ThumbBrowser.h"

using namespace pr;
namespace fs = std::filesystem;

namespace {

void savePicture(const QString& path, int w, int h, const char* format = nullptr) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 90));
    ASSERT_TRUE(image.save(path, format)) << path.toStdString();
}

void saveText(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Counts the thumbnails made, per file name. A run is caught midway without timing: after
// holdAfter(n) cells the loader thread waits in the maker until release(). A delay only slows it.
struct CountingMaker {
    std::mutex lock;
    std::condition_variable opened;
    std::multiset<std::string> made;
    int cellsMade = 0;
    int cellsFree = std::numeric_limits<int>::max();
    std::atomic<int> calls{0};
    std::atomic<bool> inside{false};
    std::atomic<int> delayMs{0};

    void holdAfter(int cells) {
        std::lock_guard<std::mutex> g(lock);
        cellsFree = cells;
    }
    void release() {
        holdAfter(std::numeric_limits<int>::max());
        opened.notify_all();
    }
    // Releases the loader when a test ends early, so that the browser's end does not wait forever.
    struct ReleaseAtEnd {
        CountingMaker& maker;
        ~ReleaseAtEnd() { maker.release(); }
    };

    ThumbMakerFn fn() {
        return [this](const ThumbJob& job) {
            inside = true;
            ++calls;
            {
                std::unique_lock<std::mutex> g(lock);
                made.insert(job.name);
                opened.wait(g, [this] { return cellsMade < cellsFree; });
            }
            if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs.load()));
            std::optional<ThumbCell> cell = makeThumbnail(job);
            if (cell) {
                std::lock_guard<std::mutex> g(lock);
                ++cellsMade;
            }
            inside = false;
            return cell;
        };
    }
    int count(const std::string& name) {
        std::lock_guard<std::mutex> g(lock);
        return static_cast<int>(made.count(name));
    }
};

struct PictureSize {
    int w, h;
};

class ThumbBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
        savePicture(folder + "/a.bmp", 100, 50);
        savePicture(folder + "/b.png", 50, 100);
        savePicture(folder + "/c.jpg", 64, 48, "JPG");
        savePicture(folder + "/Mixed.JpG", 30, 30, "JPG");
        savePicture(folder + "/e.png", 2, 2);
        // Passed over: other extensions, no extension, a folder with a picture's name, a picture
        // too narrow for a thumbnail and a file that only claims to be one.
        savePicture(folder + "/f.jpeg", 40, 40, "JPG");
        saveText(folder + "/notes.txt", "keine Bilder");
        saveText(folder + "/README", "x");
        ASSERT_TRUE(QDir(folder).mkdir("sub.jpg"));
        savePicture(folder + "/thin.png", 1, 200);
        saveText(folder + "/broken.png", "not a png");
        sizes = {{"a.bmp", {100, 50}},
                 {"b.png", {50, 100}},
                 {"c.jpg", {64, 48}},
                 {"Mixed.JpG", {30, 30}},
                 {"e.png", {2, 2}}};
    }

    std::unique_ptr<ThumbBrowser> makeBrowser(QString* selected) {
        page = std::make_unique<QWidget>();
        page->resize(400, 300);
        auto browser =
            std::make_unique<ThumbBrowser>(page.get(), [selected]() { return *selected; });
        browser->setThumbnailMaker(maker.fn());
        page->show();
        return browser;
    }

    // The pictures of the folder in the order of the file list: without regard to case.
    const std::vector<std::string> expectedOrder = {"a.bmp", "b.png", "c.jpg", "e.png",
                                                    "Mixed.JpG"};

    static bool finish(ThumbBrowser& browser) {
        return QTest::qWaitFor([&]() { return !browser.running(); }, 20000);
    }
    static std::vector<std::string> names(const ThumbBrowser& browser) {
        std::vector<std::string> out;
        for (const ThumbCell& c : browser.grid()->cells()) out.push_back(c.name);
        return out;
    }
    std::string cacheFile(const QString& f) const { return thumbCacheFilePath(f.toStdString()); }

    QTemporaryDir dir;
    QString folder;
    std::map<std::string, PictureSize> sizes;
    CountingMaker maker;
    std::unique_ptr<QWidget> page;
};

}  // namespace

TEST_F(ThumbBrowserTest, RunMakesOneCellPerPictureInTheFileListsOrderAndWritesTheCache) {
    QString selected = folder;
    auto browser = makeBrowser(&selected);
    QSignalSpy status(browser.get(), &ThumbBrowser::statusTextChanged);
    QSignalSpy reset(browser.get(), &ThumbBrowser::progressReset);
    browser->Startbrowsing();
    EXPECT_TRUE(browser->running());
    ASSERT_TRUE(finish(*browser));

    EXPECT_EQ(names(*browser), expectedOrder);
    for (const ThumbCell& c : browser->grid()->cells()) {
        SCOPED_TRACE(c.name);
        const PictureSize s = sizes.at(c.name);
        EXPECT_EQ(std::make_pair(c.info.pictureWidth, c.info.pictureHeight),
                  std::make_pair(s.w, s.h));
        EXPECT_EQ(c.info.check,
                  *fileCheck((folder + "/" + QString::fromStdString(c.name)).toStdString()));
        EXPECT_EQ(std::make_pair(c.thumbnail.width(), c.thumbnail.height()),
                  std::make_pair(int(c.info.thumbWidth), int(c.info.thumbHeight)));
    }
    // The pictures that loaded but got no thumbnail, and the one that did not load, reset the
    // progress panel; nothing else does.
    EXPECT_EQ(reset.count(), 2);
    EXPECT_EQ(maker.count("f.jpeg") + maker.count("notes.txt") + maker.count("sub.jpg"), 0);
    ASSERT_FALSE(status.isEmpty());
    // Cell 1 is selected from the start; the last text tells of all five cells.
    EXPECT_EQ(status.last().at(0).toString(), browser->grid()->statusText());
    EXPECT_TRUE(browser->grid()->statusText().endsWith("(1 von 5)"));
    QFile cache(QString::fromStdString(cacheFile(folder)));
    ASSERT_TRUE(cache.open(QIODevice::ReadOnly));
    EXPECT_EQ(cache.read(6), QByteArray("\x71\x0E\x05\x00\x00\x00", 6));
    std::vector<std::string> stored;
    const ThumbCacheReader written = ThumbCacheReader::openFolder(folder.toStdString());
    for (const CacheIndexEntry& e : written.index()) stored.push_back(e.name);
    EXPECT_EQ(stored, expectedOrder);  // the cache file in the same order
}

TEST_F(ThumbBrowserTest, SecondRunTakesEveryThumbnailFromTheCacheButAReplacedPictureIsMadeAgain) {
    QString selected = folder;
    auto browser = makeBrowser(&selected);
    browser->Startbrowsing();
    ASSERT_TRUE(finish(*browser));
    const std::vector<ThumbCell> first = browser->grid()->cells();
    for (const auto& [name, size] : sizes) ASSERT_EQ(maker.count(name), 1) << name;

    browser->Startbrowsing();
    ASSERT_TRUE(finish(*browser));
    for (const auto& [name, size] : sizes) EXPECT_EQ(maker.count(name), 1) << name;
    const std::vector<ThumbCell>& second = browser->grid()->cells();
    ASSERT_EQ(second.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(second[i].name, first[i].name);
        EXPECT_EQ(std::memcmp(&second[i].info, &first[i].info, sizeof(ThumbInfo)), 0);
        EXPECT_EQ(std::memcmp(second[i].thumbnail.bits, first[i].thumbnail.bits,
                              first[i].thumbnail.imageBytes()),
                  0);
    }

    savePicture(folder + "/a.bmp", 200, 40);
    // Make the time differ as well, as a replaced photo would.
    fs::last_write_time(fs::path((folder + "/a.bmp").toStdString()),
                        fs::file_time_type::clock::now() + std::chrono::seconds(5));
    browser->Startbrowsing();
    ASSERT_TRUE(finish(*browser));
    EXPECT_EQ(maker.count("a.bmp"), 2);
    EXPECT_EQ(maker.count("b.png"), 1);
    for (const ThumbCell& c : browser->grid()->cells())
        if (c.name == "a.bmp") {
            EXPECT_EQ(c.info.pictureWidth, 200);
            EXPECT_EQ(c.info.thumbHeight, 16);
        }
}

TEST_F(ThumbBrowserTest, LeavingTheTabStopsTheRunAndKeepsTheCellsMadeSoFar) {
    QString selected = folder;
    auto browser = makeBrowser(&selected);
    CountingMaker::ReleaseAtEnd releaseAtEnd{maker};
    maker.holdAfter(2);
    browser->PageControl3Change(true);
    ASSERT_TRUE(QTest::qWaitFor([&]() { return browser->grid()->count() >= 2; }, 20000));
    browser->PageControl3Change(false);
    maker.release();
    ASSERT_TRUE(finish(*browser));
    const int kept = browser->grid()->count();
    EXPECT_GE(kept, 2);
    EXPECT_LT(kept, 5);
    // What was made so far went to the cache.
    EXPECT_EQ(static_cast<int>(ThumbCacheReader::openFolder(folder.toStdString()).index().size()),
              kept);

    // Coming back browses from the start: the kept cells from the cache, the rest made.
    const int before = maker.calls;
    browser->PageControl3Change(true);
    EXPECT_EQ(browser->grid()->count(), 0);
    ASSERT_TRUE(finish(*browser));
    EXPECT_EQ(names(*browser), expectedOrder);
    // Only pictures without a cell were made again (plus the two that never get one).
    EXPECT_LE(maker.calls - before, 5 - kept + 2);
}

TEST_F(ThumbBrowserTest, ChangingFoldersMidRunEmptiesTheGridAndNoOldCellComesBack) {
    QTemporaryDir other;
    savePicture(other.path() + "/x.png", 20, 10);
    savePicture(other.path() + "/y.bmp", 10, 20);
    sizes["x.png"] = {20, 10};
    sizes["y.bmp"] = {10, 20};

    QString selected = folder;
    auto browser = makeBrowser(&selected);
    CountingMaker::ReleaseAtEnd releaseAtEnd{maker};
    maker.holdAfter(1);
    browser->Startbrowsing();
    ASSERT_TRUE(QTest::qWaitFor([&]() { return browser->grid()->count() >= 1; }, 20000));
    browser->JamShellTree1Changing();
    selected = other.path();
    browser->JamShellTree1Change(true);
    EXPECT_EQ(browser->grid()->count(), 0);
    maker.release();
    // The old run ends, the new one follows on its own.
    ASSERT_TRUE(QTest::qWaitFor(
        [&]() { return !browser->running() && browser->grid()->count() == 2; }, 20000));
    EXPECT_EQ(names(*browser), (std::vector<std::string>{"x.png", "y.bmp"}));
    EXPECT_EQ(browser->gridFolder(), other.path() + "/");
    // The emptied old grid wrote nothing for the first folder.
    EXPECT_FALSE(fs::exists(cacheFile(folder)));
    EXPECT_EQ(ThumbCacheReader::openFolder(other.path().toStdString()).index().size(), 2u);
}

TEST_F(ThumbBrowserTest, DestroyingTheBrowserMidRunWaitsForItsThread) {
    QString selected = folder;
    auto browser = makeBrowser(&selected);
    maker.delayMs = 200;
    browser->Startbrowsing();
    ASSERT_TRUE(QTest::qWaitFor([&]() { return maker.inside.load(); }, 20000));
    browser.reset();
    EXPECT_FALSE(maker.inside.load());
    const int calls = maker.calls;
    // Whatever the gone run had posted is handled before this, which is posted last; those
    // events find nothing to reach, and nothing makes another thumbnail.
    bool drained = false;
    QMetaObject::invokeMethod(
        qApp, [&drained] { drained = true; }, Qt::QueuedConnection);
    ASSERT_TRUE(QTest::qWaitFor([&]() { return drained; }, 20000));
    EXPECT_EQ(maker.calls.load(), calls);
}
