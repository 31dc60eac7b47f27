#include "core/album/PictureDecoding.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

#include "core/imaging/RasterLibrary.h"

namespace pr {

namespace {

void runItem(std::size_t i, const std::function<void(std::size_t)>& work,
             const ItemFailed& failed) {
    try {
        work(i);
    } catch (...) {
        if (!failed) return;
        try {
            failed(i, std::current_exception());
        } catch (...) {
            // Reporting needs memory too; when even that fails the item stays as work left it.
        }
    }
}

}  // namespace

std::string pictureLoadFailureText(const std::exception_ptr& error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return imageErrorText(ImageError::OutOfMemory);
    } catch (...) {
    }
    return imageErrorText(ImageError::Damaged);
}

void forEachInParallel(std::size_t n, unsigned threads,
                       const std::function<void(std::size_t)>& work, const DecodeTick& tick,
                       int tickMs, const ItemFailed& failed) {
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, n));
    if (threads <= 1) {
        for (std::size_t i = 0; i < n; ++i) {
            runItem(i, work, failed);
            if (tick) tick(static_cast<int>(i + 1));
        }
        return;
    }

    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t done = 0;
    auto worker = [&] {
        for (std::size_t i = next++; i < n; i = next++) {
            runItem(i, work, failed);
            {
                const std::lock_guard<std::mutex> lock(mutex);
                ++done;
            }
            finished.notify_one();
        }
    };
    std::vector<std::thread> workers;
    workers.reserve(threads);
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back(worker);

    std::unique_lock<std::mutex> lock(mutex);
    while (done < n) {
        finished.wait_for(lock, std::chrono::milliseconds(tickMs));
        const int now = static_cast<int>(done);
        if (tick && now < static_cast<int>(n)) {
            // The callback may run an event loop; the workers must be able to report meanwhile.
            lock.unlock();
            tick(now);
            lock.lock();
        }
    }
    lock.unlock();
    for (std::thread& w : workers) w.join();
    if (tick) tick(static_cast<int>(n));
}

std::vector<ImageBuffer> decodePictureFiles(const std::vector<std::string>& paths, unsigned threads,
                                            const DecodeTick& tick, int tickMs) {
    std::vector<ImageBuffer> results(paths.size());
    forEachInParallel(
        paths.size(), threads, [&](std::size_t i) { OpenDib(results[i], paths[i], kFormatAuto); },
        tick, tickMs,
        [&](std::size_t i, const std::exception_ptr& error) {
            deldib(results[i]);
            results[i].message = pictureLoadFailureText(error);
        });
    return results;
}

}  // namespace pr
