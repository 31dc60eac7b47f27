#include "gui/layout/RenditionScheduler.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QtConcurrent/QtConcurrentRun>

#include "render/PageRenditions.h"

namespace pr {

namespace {

QByteArray keyBytes(const RenditionKey& key) {
    return QByteArray(reinterpret_cast<const char*>(&key), sizeof key);
}

}  // namespace

RenditionScheduler::RenditionScheduler(QObject* parent) : QObject(parent) {}

RenditionScheduler& RenditionScheduler::instance() {
    // Made on first use by a view, on the window thread; gone with the application.
    static RenditionScheduler* scheduler = [] {
        auto* s = new RenditionScheduler(QCoreApplication::instance());
        QObject::connect(s, &QObject::destroyed, [] { scheduler = nullptr; });
        return s;
    }();
    return *scheduler;
}

RenditionProvider RenditionScheduler::provider() {
    return [this](const AlbumImage& picture, const RenditionRequest& request) {
        return this->request(picture, request);
    };
}

RenditionCache::Handle RenditionScheduler::request(const AlbumImage& picture,
                                                   const RenditionRequest& request) {
    if (RenditionCache::Handle h = PictureRenditions::placedIfCached(picture, request)) return h;
    if (!PictureRenditions::needsDecoding(picture, request))
        return PictureRenditions::placed(picture, request);
    const QByteArray key = keyBytes(PictureRenditions::placedKey(picture, request));
    if (!inFlight_.contains(key)) {
        inFlight_.insert(key);
        QtConcurrent::run(&renditionWorkers(), [copy = picture, request] {
            // Made and cached; the view finds it at its next paint.
            PictureRenditions::placed(copy, request);
        }).then(this, [this, key] {
            inFlight_.remove(key);
            emit ready();
        });
    }
    return PictureRenditions::placedFromThumbnail(picture, request);
}

void RenditionScheduler::waitForIdle() {
    while (!inFlight_.isEmpty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace pr
