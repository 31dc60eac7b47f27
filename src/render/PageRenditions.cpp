#include "render/PageRenditions.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentMap>

namespace pr {

QThreadPool& renditionWorkers() {
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;  // lives as long as the process: workers may outlive windows
        p->setMaxThreadCount(QThread::idealThreadCount());
        return p;
    }();
    return *pool;
}

QFuture<PageRenditions::Handles> PageRenditions::prepare(const Album& album,
                                                         const PageRenderOptions& options) {
    const std::vector<PagePicture> pictures = PageRenderer::pagePictures(album, options);
    Handles cached;
    std::vector<PagePicture> missing;
    for (const PagePicture& pp : pictures) {
        if (RenditionCache::Handle h = PictureRenditions::placedIfCached(*pp.picture, pp.request))
            cached.push_back(std::move(h));
        else
            missing.push_back(pp);
    }
    if (missing.empty()) return QtFuture::makeReadyFuture(std::move(cached));
    // One task per picture: a page's pictures decode on all cores at once.
    QFuture<RenditionCache::Handle> each = QtConcurrent::mapped(
        &renditionWorkers(), std::move(missing),
        [](const PagePicture& pp) { return PictureRenditions::placed(*pp.picture, pp.request); });
    return each.then([cached](QFuture<RenditionCache::Handle> done) {
        Handles all = cached;
        const QList<RenditionCache::Handle> results = done.results();
        all.insert(all.end(), results.begin(), results.end());
        return all;
    });
}

PageRenditions::Handles PageRenditions::prepareNow(const Album& album,
                                                   const PageRenderOptions& options) {
    QFuture<Handles> f = prepare(album, options);
    f.waitForFinished();
    return f.result();
}

}  // namespace pr
