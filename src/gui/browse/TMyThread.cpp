#include "gui/browse/TMyThread.h"

#include <QMetaObject>

namespace pr {

TMyThread::TMyThread(QObject* window, NextFileFn nextFile, ThumbMakerFn make, DeliverFn deliver)
    : window_(window),
      nextFile_(std::move(nextFile)),
      make_(std::move(make)),
      deliver_(std::move(deliver)) {}

void TMyThread::run() {
    while (!isInterruptionRequested() && !done_.load()) {
        std::optional<ThumbJob> job;
        QMetaObject::invokeMethod(
            window_, [this, &job]() { job = nextFile_(); }, Qt::BlockingQueuedConnection);
        if (!job || isInterruptionRequested()) continue;
        std::optional<ThumbCell> cell = make_ ? make_(*job) : std::nullopt;
        QMetaObject::invokeMethod(
            window_, [this, &job, &cell]() { deliver_(*job, std::move(cell)); },
            Qt::BlockingQueuedConnection);
    }
}

}  // namespace pr
