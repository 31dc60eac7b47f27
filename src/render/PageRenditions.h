#pragma once
// The renditions of one page, made on worker threads (QtConcurrent's pool) before the page is
// drawn. Printing and export start the next page's while the current page goes to the device, so
// decoding runs on the other cores meanwhile; drawing then only finds them in the cache.
//
// The album must not change until the result is taken: callers pass a copy they own
// (Album::copyContentTo) or wait at once.

#include <QFuture>
#include <QThreadPool>
#include <vector>

#include "core/imaging/RenditionCache.h"
#include "render/PageRenderer.h"

namespace pr {

// The threads that decode pictures for renditions. Not Qt's global pool: Qt's raster engine
// hands parts of its own drawing to that one, and a paint of the window would otherwise wait
// behind the decoding of whole photos.
QThreadPool& renditionWorkers();

class PageRenditions {
public:
    using Handles = std::vector<RenditionCache::Handle>;

    // Starts making the renditions of page options.page. The result holds them pinned.
    static QFuture<Handles> prepare(const Album& album, const PageRenderOptions& options);
    // The same, waiting for them.
    static Handles prepareNow(const Album& album, const PageRenderOptions& options);
};

}  // namespace pr
