#pragma once
// PictureRenditions: the pixels of an album picture for one use, made from its source and recipe
// and kept in the process's rendition cache (imaging/RenditionCache.h).
//
// A destination asks for the part of the picture it shows (the source rectangle of the fitting,
// in the picture's full pixels) at the size it shows it (device pixels). That rendition is made
// from the smallest decoded picture that still has at least the destination's pixels:
//  - the source's thumbnail, when it is large enough (the strip, small zooms), made on first use;
//  - else the file decoded at 1/8, 1/4, 1/2 or full size (JPEG), or whole (other formats);
// turned and adjusted as the recipe says (a base, cached too, so a drag step, a repaint or a
// second placement of the picture decodes nothing), then resampled to exactly the destination.
// A base for a recipe one step away from a cached one (one more turn, one more adjustment) is
// made from that one instead of from the file.
//
// The dialog's preview adjustment is applied to each rendition after resampling.
//
// All functions may run on any thread; the AlbumImage is only read (callers on other threads
// pass their own copy).

#include <cstdint>

#include "core/album/AlbumImage.h"
#include "core/imaging/RenditionCache.h"
#include "core/imaging/Resample.h"

namespace pr {

// What a destination shows of a picture.
struct RenditionRequest {
    // Source rectangle in the picture's full pixels (width() x height()); srcY counts rows from
    // the bottom row, as DrawDib's source rectangles do.
    int srcX = 0, srcY = 0, srcWidth = 0, srcHeight = 0;
    // Destination size in device pixels.
    int destWidth = 0, destHeight = 0;
    // The part of the destination to make; empty means all of it.
    DestWindow window;

    DestWindow effectiveWindow() const;
    bool drawable() const;
};

class PictureRenditions {
public:
    using Handle = RenditionCache::Handle;

    // The rendition (a Rendition of the window's size), made now when it is not cached. Falls
    // back to the thumbnail when the file cannot be read any more. Empty for a picture without
    // pixels or an empty request.
    static Handle placed(const AlbumImage& picture, const RenditionRequest& request);
    // The same when it is cached, else empty.
    static Handle placedIfCached(const AlbumImage& picture, const RenditionRequest& request);
    // A stand-in made from the thumbnail alone (no decoding; empty while the thumbnail is not
    // made): what a screen shows until placed() is ready.
    static Handle placedFromThumbnail(const AlbumImage& picture, const RenditionRequest& request);
    // Whether placed() would decode the file (else it only resamples a made thumbnail or a
    // cached picture, cheap enough for the window thread).
    static bool needsDecoding(const AlbumImage& picture, const RenditionRequest& request);

    // The whole picture at width() x height() as an ImageBuffer, in the depth the album shows it
    // (palette pictures stay palette pictures until enlarged). Empty without pixels.
    static Handle full(const AlbumImage& picture);

    // The cache entries of `picture` are no longer needed.
    static void forget(const AlbumImage& picture);

    static RenditionKey placedKey(const AlbumImage& picture, const RenditionRequest& request);
};

}  // namespace pr
