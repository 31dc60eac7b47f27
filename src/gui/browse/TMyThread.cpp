#include "gui/browse/TMyThread.h"

#include <QMetaObject>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace pr {

TMyThread::TMyThread(QObject* window, NextFileFn nextFile, ThumbMakerFn make, DeliverFn deliver,
                     bool mayAbandonMaking)
    : window_(window),
      nextFile_(std::move(nextFile)),
      make_(std::move(make)),
      deliver_(std::move(deliver)),
      mayAbandonMaking_(mayAbandonMaking) {}

namespace {

// What a making worker and the thread that waits for it share; the last of the two lets go.
struct PendingThumbnail {
    ThumbJob job;
    ThumbMakerFn make;
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    std::optional<ThumbCell> cell;
};

}  // namespace

std::optional<ThumbCell> TMyThread::make(const ThumbJob& job, bool& abandoned) {
    abandoned = false;
    if (!make_) return std::nullopt;
    if (!mayAbandonMaking_) return make_(job);
    auto pending = std::make_shared<PendingThumbnail>();
    pending->job = job;
    pending->make = make_;
    std::thread([pending] {
        std::optional<ThumbCell> cell = pending->make(pending->job);
        const std::lock_guard<std::mutex> hold(pending->lock);
        pending->cell = std::move(cell);
        pending->done = true;
        pending->finished.notify_all();
    }).detach();
    std::unique_lock<std::mutex> hold(pending->lock);
    while (!pending->done) {
        if (isInterruptionRequested()) {
            abandoned = true;
            return std::nullopt;
        }
        pending->finished.wait_for(hold, std::chrono::milliseconds(10));
    }
    return std::move(pending->cell);
}

void TMyThread::run() {
    while (!isInterruptionRequested() && !done_.load()) {
        std::optional<ThumbJob> job;
        QMetaObject::invokeMethod(
            window_, [this, &job]() { job = nextFile_(); }, Qt::BlockingQueuedConnection);
        if (!job || isInterruptionRequested()) continue;
        bool abandoned = false;
        std::optional<ThumbCell> cell = make(*job, abandoned);
        if (abandoned) continue;
        QMetaObject::invokeMethod(
            window_, [this, &job, &cell]() { deliver_(*job, std::move(cell)); },
            Qt::BlockingQueuedConnection);
    }
}

}  // namespace pr
