#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "TestSupport.h"
#include "core/imaging/PictureSource.h"

namespace {

// A picture whose thumbnail takes as long as the test wants: making it waits to be let go.
class SlowPicture : public pr::PictureSource {
public:
    SlowPicture() : PictureSource(4000, 3000, 24, pr::ImageBuffer(), true, false) {}

    bool decode(int, int, pr::ImageBuffer&) const override { return false; }

    void letGo() {
        std::lock_guard<std::mutex> lock(m_);
        released_ = true;
        cv_.notify_all();
    }
    void waitUntilMaking() const {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait(lock, [this] { return making_; });
    }

protected:
    bool makeThumbnail(pr::ImageBuffer& out) const override {
        std::unique_lock<std::mutex> lock(m_);
        making_ = true;
        cv_.notify_all();
        cv_.wait(lock, [this] { return released_; });
        return pr::newdib(out, thumbnailWidth(), thumbnailHeight(), 24);
    }

private:
    mutable std::mutex m_;
    mutable std::condition_variable cv_;
    mutable bool making_ = false;
    bool released_ = false;
};

// The window asks whether a thumbnail is there while it paints; a worker making that thumbnail
// (decoding the file) must not hold the window up.
TEST(PictureSource, AskingForTheThumbnailNeverWaitsForOneBeingMade) {
    SlowPicture picture;
    EXPECT_EQ(picture.thumbnailWidth(), 200);
    EXPECT_EQ(picture.thumbnailHeight(), 150);
    std::thread worker([&] { EXPECT_TRUE(picture.thumbnail().valid()); });
    picture.waitUntilMaking();
    EXPECT_FALSE(picture.hasThumbnail());  // returns at once; the worker is still making it
    picture.letGo();
    worker.join();
    EXPECT_TRUE(picture.hasThumbnail());
    EXPECT_EQ(picture.thumbnail().width(), 200);
}

// A file judged by its header when the album was opened can still fail when its pixels are
// needed: printing without a window names each such file once, with the reason.
TEST(PictureSource, FilesThatFailLaterAreNamedOnceWithTheirReason) {
    using namespace testsupport;
    TempDir dir;
    const std::string other = dir.file("anders.bmp"), broken = dir.file("kaputt.bmp");
    ASSERT_TRUE(writePpm(dir.file("a.ppm"), patternPicture(40, 30)));
    ASSERT_TRUE(writePpm(dir.file("b.ppm"), patternPicture(30, 40)));
    for (const std::string& path : {other, broken})
        ASSERT_TRUE(run(std::string(kConvert) + " " + dir.file("a.ppm") + " BMP3:" + path));
    const pr::PictureInspection a = pr::inspectPictureFile(other);
    const pr::PictureInspection b = pr::inspectPictureFile(broken);
    ASSERT_TRUE(a.ok && b.ok);
    pr::takePictureDecodeFailures();

    ASSERT_TRUE(run(std::string(kConvert) + " " + dir.file("b.ppm") + " BMP3:" + other));
    ASSERT_TRUE(writeAll(broken, {'B', 'M', 0, 1, 2}));
    pr::ImageBuffer out;
    for (int twice = 0; twice < 2; ++twice) {
        EXPECT_FALSE(a.source->decode(0, 0, out));
        EXPECT_FALSE(b.source->decode(0, 0, out));
    }
    const std::vector<pr::PictureDecodeFailure> failures = pr::takePictureDecodeFailures();
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].path, other);
    EXPECT_EQ(failures[0].reason, "Die Datei enthält inzwischen ein anderes Bild.");
    EXPECT_EQ(failures[1].path, broken);
    EXPECT_NE(failures[1].reason.find("Bilddatei"), std::string::npos) << failures[1].reason;
    EXPECT_TRUE(pr::takePictureDecodeFailures().empty());
}

}  // namespace
