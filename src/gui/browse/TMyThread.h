#pragma once
// TMyThread: the loader thread of one thumbnail run.
//
// It paces the run rather than doing it: step after step it asks the window thread to handle the
// next directory entry (NextFile) and waits for that step to finish, so the window takes input
// between two files and everything the grid, the cache and the directory search hold is touched on
// the window thread only. When a step hands back a picture to make, the thread decodes and scales
// it itself and then hands the result back with a second blocking step; that keeps the slow part of
// a cold folder (reading and decoding large photos) off the window thread, while cells are still
// appended one by one, in directory order, on the window thread.
//
// Between steps the thread reads only two flags, both of which only ever change from false to
// true: its interruption request (the stop request, set by the window thread) and `done` (set by
// NextFile when the directory is exhausted). No locks are needed. A step the thread posted before a
// stop request may still arrive afterwards; the window's steps check for the stop themselves and
// then do nothing.
//
// Whoever owns the thread must not block the window thread on wait() alone while the thread may
// be waiting for a step: deliver the window's posted meta-calls while waiting (ThumbBrowser does).

#include <QThread>
#include <atomic>
#include <functional>
#include <optional>

#include "core/browse/ThumbStep.h"

namespace pr {

class TMyThread : public QThread {
    Q_OBJECT
public:
    // Run on the window thread (the thread of `window`), one call per step.
    using NextFileFn = std::function<std::optional<ThumbJob>()>;
    using DeliverFn = std::function<void(const ThumbJob& job, std::optional<ThumbCell> cell)>;

    // `make` runs on this thread and must touch nothing but the job's file.
    TMyThread(QObject* window, NextFileFn nextFile, ThumbMakerFn make, DeliverFn deliver);

    // Window thread, from NextFile: the directory search is exhausted.
    void markDone() { done_.store(true); }
    bool isDone() const { return done_.load(); }

protected:
    void run() override;

private:
    QObject* window_;
    NextFileFn nextFile_;
    ThumbMakerFn make_;
    DeliverFn deliver_;
    std::atomic<bool> done_{false};
};

}  // namespace pr
