#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

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

}  // namespace
