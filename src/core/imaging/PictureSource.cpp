#include "core/imaging/PictureSource.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "core/imaging/ImageError.h"
#include "core/imaging/RasterLibrary.h"
#include "core/imaging/Resample.h"

namespace pr {

namespace {

std::mutex failuresMutex;
std::vector<PictureDecodeFailure> failures;

void noteDecodeFailure(const std::string& path, std::string reason) {
    const std::lock_guard<std::mutex> lock(failuresMutex);
    for (const PictureDecodeFailure& f : failures)
        if (f.path == path) return;
    failures.push_back({path, std::move(reason)});
}

uint64_t nextSourceId() {
    static std::atomic<uint64_t> next{1};
    return next++;
}

class HeldPicture : public PictureSource {
public:
    explicit HeldPicture(const ImageBuffer& picture)
        : PictureSource(picture.valid() ? picture.width() : 0,
                        picture.valid() ? picture.height() : 0, picture.bitCount(), picture, false,
                        true) {}

    bool decode(int, int, ImageBuffer& out) const override {
        const ImageBuffer& held = thumbnail();
        if (!held.valid()) return false;
        out = held;
        return true;
    }
};

// A picture as small as the thumbnail (or smaller): its own size, no resampling.
bool shrinkToThumbnail(const ImageBuffer& decoded, int tw, int th, ImageBuffer& out) {
    if (tw == decoded.width() && th == decoded.height()) {
        out = decoded;
        return true;
    }
    const SourceRect whole{0, 0, static_cast<double>(decoded.width()),
                           static_cast<double>(decoded.height())};
    return resampleToImage(decoded, whole, tw, th, out);
}

class PictureFile : public PictureSource {
public:
    PictureFile(std::string path, int width, int height, int bitCount, ImageBuffer thumbnail,
                bool canReduce)
        : PictureSource(width, height, bitCount, std::move(thumbnail), canReduce, false),
          path_(std::move(path)) {}

    bool decode(int minWidth, int minHeight, ImageBuffer& out) const override {
        ImageBuffer picture;
        const DecodeResult r = canReduce() && minWidth > 0 && minHeight > 0
                                   ? OpenDibReduced(picture, path_, minWidth, minHeight)
                                   : OpenDibReduced(picture, path_, 0, 0);
        // A file replaced by another picture must not be drawn into this one's frames.
        if (!r.ok() || !picture.valid()) {
            noteDecodeFailure(path_, picture.message);
            return false;
        }
        if (r.trueWidth != width() || r.trueHeight != height() || r.trueBitCount != bitCount()) {
            noteDecodeFailure(path_, "Die Datei enthält inzwischen ein anderes Bild.");
            return false;
        }
        out = std::move(picture);
        return true;
    }

private:
    const std::string path_;
};

}  // namespace

std::vector<PictureDecodeFailure> takePictureDecodeFailures() {
    const std::lock_guard<std::mutex> lock(failuresMutex);
    std::vector<PictureDecodeFailure> taken;
    taken.swap(failures);
    return taken;
}

PictureSource::PictureSource(int width, int height, int bitCount, ImageBuffer thumbnail,
                             bool canReduce, bool wholeThumbnail)
    : id_(nextSourceId()),
      width_(width),
      height_(height),
      bitCount_(bitCount),
      canReduce_(canReduce),
      thumbnailIsWhole_(wholeThumbnail || (width <= kThumbnailSide && height <= kThumbnailSide)),
      thumbnail_(std::move(thumbnail)) {
    if (wholeThumbnail) {
        thumbnailWidth_ = width;
        thumbnailHeight_ = height;
    } else {
        thumbnailSize(width, height, thumbnailWidth_, thumbnailHeight_);
    }
    thumbnailTried_ = thumbnail_.valid() || !hasPixels();
    thumbnailReady_.store(thumbnailTried_, std::memory_order_release);
}

void PictureSource::thumbnailSize(int w, int h, int& tw, int& th) {
    const int side = kThumbnailSide;
    if (w <= side && h <= side) {
        tw = w;
        th = h;
    } else if (w >= h) {
        tw = side;
        th = std::max(1, static_cast<int>(std::lround(static_cast<double>(h) * side / w)));
    } else {
        th = side;
        tw = std::max(1, static_cast<int>(std::lround(static_cast<double>(w) * side / h)));
    }
}

const ImageBuffer& PictureSource::thumbnail() const {
    // Once made it never changes, so readers need no lock.
    if (thumbnailReady_.load(std::memory_order_acquire)) return thumbnail_;
    const std::lock_guard<std::mutex> lock(thumbnailMutex_);
    if (!thumbnailTried_) {
        thumbnailTried_ = true;
        ImageBuffer made;
        if (makeThumbnail(made)) thumbnail_ = std::move(made);
        thumbnailReady_.store(true, std::memory_order_release);
    }
    return thumbnail_;
}

bool PictureSource::hasThumbnail() const {
    // Never waits for a thumbnail being made on another thread: the window asks this while it
    // paints.
    return thumbnailReady_.load(std::memory_order_acquire);
}

bool PictureSource::makeThumbnail(ImageBuffer& out) const {
    ImageBuffer decoded;
    if (!decode(thumbnailWidth_, thumbnailHeight_, decoded)) return false;
    return shrinkToThumbnail(decoded, thumbnailWidth_, thumbnailHeight_, out);
}

PictureSourcePtr heldPicture(const ImageBuffer& picture) {
    return std::make_shared<HeldPicture>(picture);
}

PictureInspection inspectPictureFile(const std::string& path, bool judgeData) {
    PictureInspection result;
    ImageBuffer decoded;
    const DecodeResult r = OpenDibInfo(path, &decoded);
    if (!r.ok()) {
        result.message = imageErrorText(r.error, r.detail);
        return result;
    }
    const int w = r.trueWidth, h = r.trueHeight;
    int tw, th;
    PictureSource::thumbnailSize(w, h, tw, th);
    // A picture that had to be decoded to be measured gives its thumbnail now; a JPEG, known
    // from its header, can be decoded again at any reduced size.
    ImageBuffer thumbnail;
    if (decoded.valid() && !shrinkToThumbnail(decoded, tw, th, thumbnail)) {
        result.message = imageErrorText(ImageError::OutOfMemory);
        return result;
    }
    const bool reducible = !decoded.valid();
    if (judgeData && reducible) {
        // A file damaged beyond its header is refused now, with its reason, as a whole decode
        // would refuse it. A single-scan JPEG is judged from its first rows (nothing further on
        // can make its decode fail) and makes its thumbnail when it is first shown; the others
        // are read through, and that decode gives the thumbnail.
        ImageBuffer small;
        const DecodeResult d = OpenDibReduced(small, path, tw, th, true);
        if (!d.ok() || d.trueWidth != w || d.trueHeight != h) {
            result.message =
                d.ok() ? imageErrorText(ImageError::Damaged) : imageErrorText(d.error, d.detail);
            return result;
        }
        if (!d.judgedOnly && !shrinkToThumbnail(small, tw, th, thumbnail)) {
            result.message = imageErrorText(ImageError::OutOfMemory);
            return result;
        }
    }
    result.source =
        std::make_shared<PictureFile>(path, w, h, r.trueBitCount, std::move(thumbnail), reducible);
    result.ok = true;
    return result;
}

}  // namespace pr
