#pragma once
// PictureSource: where an album picture's pixels come from when a rendition needs them.
//
// A picture file is looked at once when it is added or its album is opened: its header gives its
// size and depth (other formats than JPEG are decoded for that, and their thumbnail is made at
// once). A small thumbnail (no side above kThumbnailSide) is made the first time it is needed,
// decoding the file at a reduced size, and kept for the picture's whole life: the strip, small
// zooms and stand-ins draw from it, and it stands in for a file that can no longer be read.
// Larger pixels are decoded from the file again whenever a rendition that is not cached needs
// them, JPEG files at a reduced size where that suffices. A picture handed over in memory (a
// placeholder for a missing file, pictures made in code) is held instead, and is its own
// thumbnail.
//
// Sizes are those of the upright picture, EXIF orientation applied. A file that can no longer be
// read, or that now holds another picture (other size or depth), fails to decode; callers then
// fall back to the thumbnail.
//
// Sources are immutable and shared between threads.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/imaging/ImageBuffer.h"

namespace pr {

class PictureSource {
public:
    static constexpr int kThumbnailSide = 200;

    virtual ~PictureSource() = default;
    PictureSource(const PictureSource&) = delete;
    PictureSource& operator=(const PictureSource&) = delete;

    // Unique in the process: names the source's entries in the rendition cache.
    uint64_t id() const { return id_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int bitCount() const { return bitCount_; }
    // The kept small picture, made on the first call (which may decode the file); empty when
    // the file cannot be decoded. Safe from several threads: they wait for one making.
    const ImageBuffer& thumbnail() const;
    // Whether the thumbnail is made (thumbnail() returns at once).
    bool hasThumbnail() const;
    // Whether the thumbnail is the whole picture (small pictures, held pictures).
    bool thumbnailIsWhole() const { return thumbnailIsWhole_; }
    // The thumbnail's size, known before it is made.
    int thumbnailWidth() const { return thumbnailWidth_; }
    int thumbnailHeight() const { return thumbnailHeight_; }
    // Whether decode() can give less than the whole picture (JPEG files).
    bool canReduce() const { return canReduce_; }
    // Whether the picture was readable when it was looked at.
    bool hasPixels() const { return width_ > 0 && height_ > 0; }

    // The upright picture, at least minWidth x minHeight where the format can reduce (both 0:
    // full size). `out` may share pixels with the source: never change them in place.
    virtual bool decode(int minWidth, int minHeight, ImageBuffer& out) const = 0;

    // The size of the thumbnail of a width x height picture: no side above kThumbnailSide,
    // proportions kept; the picture's own size when it is that small.
    static void thumbnailSize(int width, int height, int& thumbWidth, int& thumbHeight);

protected:
    // `thumbnail` may be empty (made later by makeThumbnail); `wholeThumbnail` says the
    // thumbnail is the picture itself whatever its size.
    PictureSource(int width, int height, int bitCount, ImageBuffer thumbnail, bool canReduce,
                  bool wholeThumbnail);
    // Decodes the file at a reduced size and shrinks it to the thumbnail's size.
    virtual bool makeThumbnail(ImageBuffer& out) const;

private:
    const uint64_t id_;
    const int width_, height_, bitCount_;
    const bool canReduce_;
    const bool thumbnailIsWhole_;
    int thumbnailWidth_ = 0, thumbnailHeight_ = 0;
    mutable std::mutex thumbnailMutex_;
    mutable bool thumbnailTried_ = false;
    mutable std::atomic<bool> thumbnailReady_{false};  // thumbnail_ made (or given up)
    mutable ImageBuffer thumbnail_;
};

using PictureSourcePtr = std::shared_ptr<const PictureSource>;

// A picture file that failed to decode when a rendition needed it (damaged beyond its header,
// replaced by another picture or gone since it was looked at), with the German reason.
struct PictureDecodeFailure {
    std::string path;
    std::string reason;
};

// The files that failed so far, each once, and forgets them: printing without a window names
// them after the pages were written, as it names the pictures that did not load at all.
std::vector<PictureDecodeFailure> takePictureDecodeFailures();

// A picture held in memory (shared, not copied). Its size is the picture's; without pixels it
// has size 0 x 0 and no thumbnail.
PictureSourcePtr heldPicture(const ImageBuffer& picture);

struct PictureInspection {
    bool ok = false;
    std::string message;  // the reader's German text when the file cannot be read
    PictureSourcePtr source;
};

// Looks at a picture file once: its size and depth from the header (other formats than JPEG are
// decoded whole, which makes their thumbnail too). With `judgeData` a JPEG is also judged as a
// whole decode would judge it, so a file damaged beyond its header is refused here, as the window
// did when it decoded every picture whole: a progressive one is read through at its thumbnail's
// size (which makes the thumbnail), a single-scan one needs only its first rows and makes its
// thumbnail when first asked. Without it (printing from the command line) only the header is
// judged. Safe to call from several threads at once.
PictureInspection inspectPictureFile(const std::string& path, bool judgeData = false);

}  // namespace pr
