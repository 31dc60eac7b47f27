#include "core/album/PictureRenditions.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/imaging/Adjust.h"
#include "core/imaging/DepthUpTo.h"
#include "core/imaging/ImageBackup.h"
#include "core/imaging/Resize.h"
#include "core/imaging/Rotate.h"

namespace pr {

namespace {

enum Kind : int32_t {
    kBase = 1,       // the file at scale M/8, turned and adjusted: ImageBuffer
    kThumbBase = 2,  // the thumbnail, turned and adjusted: ImageBuffer
    kFull = 3,       // the whole picture as the album shows it, when that is not a base
    kPlaced = 4,     // a destination's rendition: Rendition
    kStandIn = 5,    // the same made from the thumbnail alone
};

constexpr int kScales[] = {1, 2, 4, 8};

RenditionCache& cache() {
    return RenditionCache::shared();
}

uint64_t mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h;
}

uint64_t pixelHash(const AlbumImage& p) {
    return pixelRecipeHash(p.Rotation, p.Adjustments);
}

RenditionKey baseKey(uint64_t source, uint64_t recipe, int scale) {
    RenditionKey k;
    k.source = source;
    k.recipe = recipe;
    k.kind = kBase;
    k.values[0] = scale;
    return k;
}

// The file's picture as the recipe turns it, at full scale.
void turnedSize(const AlbumImage& p, int& w, int& h) {
    w = p.Source->width();
    h = p.Source->height();
    if (p.Rotation % 2 != 0) std::swap(w, h);
}

std::shared_ptr<const ImageBuffer> shareImage(ImageBuffer&& image) {
    return std::make_shared<const ImageBuffer>(std::move(image));
}

size_t imageBytes(const ImageBuffer& b) {
    return static_cast<size_t>(b.imageBytes()) + sizeof(BitmapInfo);
}

bool storeImage(ImageBuffer&& image, std::shared_ptr<const void>& value, size_t& bytes) {
    if (!image.valid()) return false;
    bytes = imageBytes(image);
    value = shareImage(std::move(image));
    return true;
}

// ---- bases ----

// A base of the same scale for a recipe one step before this one, changed by that step.
bool deriveBase(const AlbumImage& p, int scale, ImageBuffer& out) {
    const uint64_t source = p.Source->id();
    const auto fromParent = [&](int32_t rotation, const std::vector<Adjustment>& adjustments,
                                auto step) {
        const RenditionCache::Handle parent =
            cache().find(baseKey(source, pixelRecipeHash(rotation, adjustments), scale));
        if (!parent) return false;
        ImageBuffer b = *parent.get<ImageBuffer>();
        return step(b) && (out = std::move(b), true);
    };
    if (fromParent((p.Rotation + 3) % 4, p.Adjustments, [](ImageBuffer& b) { return RotRight(b); }))
        return true;
    if (fromParent((p.Rotation + 1) % 4, p.Adjustments, [](ImageBuffer& b) { return RotLeft(b); }))
        return true;
    if (p.Adjustments.empty()) return false;
    std::vector<Adjustment> before(p.Adjustments.begin(), p.Adjustments.end() - 1);
    const Adjustment last = p.Adjustments.back();
    return fromParent(p.Rotation, before,
                      [&last](ImageBuffer& b) { return applyPixelRecipe(b, 0, {last}); });
}

RenditionCache::Handle base(const AlbumImage& p, int scale) {
    return cache().getOrMake(
        baseKey(p.Source->id(), pixelHash(p), scale),
        [&p, scale](std::shared_ptr<const void>& value, size_t& bytes) {
            ImageBuffer b;
            if (deriveBase(p, scale, b)) return storeImage(std::move(b), value, bytes);
            const int minW = scale == 8 ? 0 : (p.Source->width() * scale + 7) / 8;
            const int minH = scale == 8 ? 0 : (p.Source->height() * scale + 7) / 8;
            if (!p.Source->decode(minW, minH, b)) return false;
            if (!applyPixelRecipe(b, p.Rotation, p.Adjustments)) return false;
            return storeImage(std::move(b), value, bytes);
        });
}

RenditionCache::Handle thumbBase(const AlbumImage& p) {
    RenditionKey k;
    k.source = p.Source->id();
    k.recipe = pixelHash(p);
    k.kind = kThumbBase;
    return cache().getOrMake(k, [&p](std::shared_ptr<const void>& value, size_t& bytes) {
        ImageBuffer b = p.Source->thumbnail();
        if (!applyPixelRecipe(b, p.Rotation, p.Adjustments)) return false;
        return storeImage(std::move(b), value, bytes);
    });
}

// How many base pixels per full-scale pixel the request needs.
double neededScale(const AlbumImage& p, const RenditionRequest& r) {
    int tw, th;
    turnedSize(p, tw, th);
    const double fx = static_cast<double>(r.destWidth) * p.width() / (r.srcWidth * double(tw));
    const double fy = static_cast<double>(r.destHeight) * p.height() / (r.srcHeight * double(th));
    return std::max(fx, fy);
}

bool thumbnailSuffices(const AlbumImage& p, const RenditionRequest& r) {
    const PictureSource& s = *p.Source;
    if (s.thumbnailIsWhole()) return true;
    const double scale = static_cast<double>(std::max(s.thumbnailWidth(), s.thumbnailHeight())) /
                         std::max(s.width(), s.height());
    return scale >= neededScale(p, r);
}

int scaleFor(const AlbumImage& p, const RenditionRequest& r) {
    if (!p.Source->canReduce()) return 8;
    const double need = neededScale(p, r);
    for (int m : kScales)
        if (m / 8.0 >= need) return m;
    return 8;
}

// A base for the request that needs no decoding: the made thumbnail when it is large enough,
// or a cached base at least as large as needed. Empty when there is none.
RenditionCache::Handle baseAtHand(const AlbumImage& p, const RenditionRequest& r) {
    if (thumbnailSuffices(p, r)) {
        if (p.Source->hasThumbnail()) return thumbBase(p);
        return {};
    }
    const int scale = scaleFor(p, r);
    const uint64_t recipe = pixelHash(p);
    for (int m : kScales) {
        if (m < scale) continue;
        if (RenditionCache::Handle h = cache().find(baseKey(p.Source->id(), recipe, m))) return h;
    }
    return {};
}

// The base to resample for a request: one at hand, or a new one (the thumbnail, or the file
// decoded at the scale needed). The thumbnail also stands in when the file cannot be read any
// more.
RenditionCache::Handle baseFor(const AlbumImage& p, const RenditionRequest& r) {
    if (RenditionCache::Handle h = baseAtHand(p, r)) return h;
    if (thumbnailSuffices(p, r)) return thumbBase(p);
    if (RenditionCache::Handle h = base(p, scaleFor(p, r))) return h;
    return thumbBase(p);
}

// ---- renditions ----

void applyPreview(const AlbumImage& p, Rendition& r) {
    if (!p.Preview || p.Preview->changesNothing()) return;
    const Adjustment& a = *p.Preview;
    const ChannelTable t = adjustAllTable(a.Brightness, a.Contrast, a.Saturation, p.bitCount());
    for (int y = 0; y < r.height; ++y) {
        uint32_t* row = r.row(y);
        for (int x = 0; x < r.width; ++x) {
            const uint32_t v = row[x];
            row[x] = renditionPixel(t[(v >> 16) & 0xFF], t[(v >> 8) & 0xFF], t[v & 0xFF]);
        }
    }
}

bool resampleFrom(const ImageBuffer& b, const AlbumImage& p, const RenditionRequest& r,
                  std::shared_ptr<const void>& value, size_t& bytes) {
    const double kx = static_cast<double>(b.width()) / p.width();
    const double ky = static_cast<double>(b.height()) / p.height();
    const int top = p.height() - r.srcY - r.srcHeight;  // the request counts rows from the bottom
    const SourceRect source{r.srcX * kx, top * ky, r.srcWidth * kx, r.srcHeight * ky};
    auto made = std::make_shared<Rendition>();
    if (!resampleToRendition(b, source, r.destWidth, r.destHeight, r.effectiveWindow(), *made))
        return false;
    applyPreview(p, *made);
    bytes = made->bytes();
    value = std::move(made);
    return true;
}

RenditionKey requestKey(const AlbumImage& p, const RenditionRequest& r, int32_t kind) {
    RenditionKey k;
    k.source = p.Source->id();
    k.kind = kind;
    const DestWindow w = r.effectiveWindow();
    uint64_t h = pixelHash(p);
    for (int v : {p.width(), p.height(), w.x, w.y, w.width, w.height}) h = mix(h, uint32_t(v));
    if (p.Preview && !p.Preview->changesNothing())
        for (int v : {p.Preview->Brightness, p.Preview->Contrast, p.Preview->Saturation})
            h = mix(h, uint32_t(v) + 1);
    k.recipe = h;
    const int32_t values[] = {r.srcX, r.srcY, r.srcWidth, r.srcHeight, r.destWidth, r.destHeight};
    std::copy(std::begin(values), std::end(values), k.values);
    return k;
}

bool usable(const AlbumImage& p, const RenditionRequest& r) {
    return p.hasPixels() && p.width() > 0 && p.height() > 0 && r.drawable();
}

}  // namespace

DestWindow RenditionRequest::effectiveWindow() const {
    if (window.width > 0 && window.height > 0) return window;
    return DestWindow{0, 0, destWidth, destHeight};
}

bool RenditionRequest::drawable() const {
    return srcWidth > 0 && srcHeight > 0 && destWidth > 0 && destHeight > 0;
}

RenditionKey PictureRenditions::placedKey(const AlbumImage& picture,
                                          const RenditionRequest& request) {
    return requestKey(picture, request, kPlaced);
}

PictureRenditions::Handle PictureRenditions::placed(const AlbumImage& p,
                                                    const RenditionRequest& r) {
    if (!usable(p, r)) return {};
    return cache().getOrMake(
        placedKey(p, r), [&p, &r](std::shared_ptr<const void>& value, size_t& bytes) {
            const Handle b = baseFor(p, r);
            return b && resampleFrom(*b.get<ImageBuffer>(), p, r, value, bytes);
        });
}

PictureRenditions::Handle PictureRenditions::placedIfCached(const AlbumImage& p,
                                                            const RenditionRequest& r) {
    if (!usable(p, r)) return {};
    return cache().find(placedKey(p, r));
}

PictureRenditions::Handle PictureRenditions::placedFromThumbnail(const AlbumImage& p,
                                                                 const RenditionRequest& r) {
    if (!usable(p, r) || !p.Source->hasThumbnail()) return {};
    if (!needsDecoding(p, r)) return placed(p, r);
    return cache().getOrMake(
        requestKey(p, r, kStandIn), [&p, &r](std::shared_ptr<const void>& value, size_t& bytes) {
            const Handle b = thumbBase(p);
            return b && resampleFrom(*b.get<ImageBuffer>(), p, r, value, bytes);
        });
}

bool PictureRenditions::needsDecoding(const AlbumImage& p, const RenditionRequest& r) {
    return usable(p, r) && !baseAtHand(p, r);
}

PictureRenditions::Handle PictureRenditions::full(const AlbumImage& p) {
    if (!p.hasPixels() || p.width() <= 0 || p.height() <= 0) return {};
    const bool preview = p.Preview && !p.Preview->changesNothing();
    if (!p.enlarged() && !preview) {
        if (p.Source->thumbnailIsWhole()) return thumbBase(p);
        return base(p, 8);
    }
    RenditionKey k;
    k.source = p.Source->id();
    k.recipe = pixelHash(p);
    k.kind = kFull;
    k.values[0] = p.width();
    k.values[1] = p.height();
    if (preview) {
        k.values[2] = 1;
        k.values[3] = p.Preview->Brightness;
        k.values[4] = p.Preview->Contrast;
        k.values[5] = p.Preview->Saturation;
    }
    return cache().getOrMake(k, [&p, preview](std::shared_ptr<const void>& value, size_t& bytes) {
        const Handle b = p.Source->thumbnailIsWhole() ? thumbBase(p) : base(p, 8);
        if (!b) return false;
        ImageBuffer image = *b.get<ImageBuffer>();
        if (p.enlarged()) {
            // As the enhancement does it: up to 24 bits, then the bilinear enlargement.
            if (image.bitCount() < 24) DepthUpTo(image, 24);
            if (image.bitCount() < 24) return false;
            ImageBuffer larger;
            if (!Resize(image, p.width(), p.height(), true, larger)) return false;
            image = std::move(larger);
        }
        if (preview) {
            ImageBuffer own;
            if (!MakeBackup(image, own)) return false;
            AdjustAll(own, p.Preview->Brightness, p.Preview->Contrast, p.Preview->Saturation);
            image = std::move(own);
        }
        return storeImage(std::move(image), value, bytes);
    });
}

void PictureRenditions::forget(const AlbumImage& picture) {
    if (picture.Source) cache().dropSource(picture.Source->id());
}

}  // namespace pr
