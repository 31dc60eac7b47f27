#include "render/RenditionImage.h"

#include <memory>

namespace pr {

namespace {

// Keeps the rendition's pixel block alive for as long as Qt holds the image (a PDF engine may
// hold it to the end of the document, after the rendition left the cache).
void releaseBlock(void* info) {
    delete static_cast<std::shared_ptr<PixelBlock>*>(info);
}

}  // namespace

QImage renditionImage(const Rendition& rendition) {
    if (!rendition.valid()) return {};
    std::call_once(rendition.faceOnce, [&rendition] {
        auto* keep = new std::shared_ptr<PixelBlock>(rendition.block);
        const QImage image(static_cast<const uchar*>(rendition.pixels), rendition.width,
                           rendition.height, rendition.stride, QImage::Format_RGB32, releaseBlock,
                           keep);
        rendition.face = std::make_shared<const QImage>(image);
    });
    return *static_cast<const QImage*>(rendition.face.get());
}

}  // namespace pr
