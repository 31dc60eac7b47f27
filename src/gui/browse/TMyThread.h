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
//
// A stop must not wait for a whole decode (a large photo takes a second): when the maker may be
// abandoned, each thumbnail is made on a worker of its own that owns a copy of the job and of its
// result, and a stop request leaves that worker to finish alone and ends the thread at once. Only
// a maker that touches nothing but the job's file may be abandoned (makeThumbnail).

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

    // `make` runs off the window thread and must touch nothing but the job's file; with
    // `mayAbandonMaking` a stop leaves a make that is under way to finish on its own.
    TMyThread(QObject* window, NextFileFn nextFile, ThumbMakerFn make, DeliverFn deliver,
              bool mayAbandonMaking = false);

    // Window thread, from NextFile: the directory search is exhausted.
    void markDone() { done_.store(true); }
    bool isDone() const { return done_.load(); }

protected:
    void run() override;

private:
    // The thumbnail for `job`, or nothing; `abandoned` when a stop came first.
    std::optional<ThumbCell> make(const ThumbJob& job, bool& abandoned);

    QObject* window_;
    NextFileFn nextFile_;
    ThumbMakerFn make_;
    DeliverFn deliver_;
    bool mayAbandonMaking_;
    std::atomic<bool> done_{false};
};

}  // namespace pr
