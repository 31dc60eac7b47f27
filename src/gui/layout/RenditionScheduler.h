#pragma once
// RenditionScheduler: the window's renditions, made on worker threads so that a paint never waits
// for a picture file to be decoded.
//
// A view asks for a rendition while it paints (provider() for PageRenderOptions): a cached one
// comes back at once, and so does one that the picture's thumbnail is enough for (strip cells,
// small zooms: that costs a fraction of a millisecond). Otherwise decoding is started on a worker
// (QtConcurrent's pool, once per rendition however often it is asked for) and a stand-in made
// from the thumbnail is drawn meanwhile; when the worker is done, ready() is emitted and the views
// repaint, finding the rendition in the cache.
//
// The workers get a copy of the picture record, so the album may change meanwhile; a rendition
// that nobody asks for any more simply ages out of the cache. One scheduler serves all views of
// the process; it lives on the window thread.

#include <QObject>
#include <QSet>

#include "render/PageRenderer.h"

namespace pr {

class RenditionScheduler : public QObject {
    Q_OBJECT
public:
    static RenditionScheduler& instance();

    RenditionProvider provider();
    RenditionCache::Handle request(const AlbumImage& picture, const RenditionRequest& request);

    // Renditions being made.
    int pending() const { return int(inFlight_.size()); }
    // Runs the event loop until nothing is being made (tests, benchmarks).
    void waitForIdle();

signals:
    void ready();

private:
    explicit RenditionScheduler(QObject* parent = nullptr);

    QSet<QByteArray> inFlight_;
};

}  // namespace pr
