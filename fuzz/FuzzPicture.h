#pragma once
// What every picture-reader fuzz target checks: any input gives a picture or a message, never a
// crash, and a picture is whole: its first and last pixel bytes are touched, so a buffer shorter
// than the picture's layout shows up under the address sanitizer.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/imaging/PictureFacts.h"
#include "core/imaging/RasterLibrary.h"
#include "core/imaging/codecs/Codec.h"
#include "core/imaging/codecs/PictureDecoder.h"

namespace pr::fuzz {

inline void touchWholePicture(const ImageBuffer& img) {
    volatile uint8_t sink = img.bits[0];
    sink = img.bits[img.imageBytes() - 1];
    (void)sink;
}

// Pictures larger than this are legal and refused by nothing, but decoding one takes seconds
// under the sanitizers (a kilobyte of AV1 can announce a hundred million pixels): a fuzz run
// passes them over so that its time goes into the parsing, where the faults are.
inline bool tooLargeForFuzzing(const Codec& codec, const uint8_t* data, size_t size) {
    constexpr int64_t kMaxPixels = int64_t{1} << 24;
    PictureHeader header;
    return codec.header(data, size, header).ok() && header.width * header.height > kMaxPixels;
}

// The way OpenDib reads a file: through the registry, for inputs that `codec`'s sniffer claims.
// A failure must carry a message; `alsoReduced` tries the reduced-size decode of thumbnails too.
// The facts a page asks of a file without decoding it (its stored size and EXIF date) are read
// from the same bytes: a date is always ten characters or none.
inline int fuzzThroughRegistry(const Codec& codec, const uint8_t* data, size_t size,
                               bool alsoReduced) {
    if (!codec.sniff(data, size) || tooLargeForFuzzing(codec, data, size)) return 0;
    const PictureFacts facts = pictureFactsOf(data, size);
    if (!facts.dateTaken.empty() && facts.dateTaken.size() != 10) std::abort();
    for (int reduced : {0, 80}) {
        if (reduced != 0 && !alsoReduced) break;
        DecodeOptions options;
        options.maxWidth = options.maxHeight = reduced;
        ImageBuffer img;
        const DecodeResult r = decodePicture(data, size, options, img);
        if (r.ok() != img.valid() || (!r.ok() && img.message.size() <= 5)) std::abort();
        if (img.valid()) touchWholePicture(img);
        if (reduced == 0) continue;
        // Judging the file from its first rows must come to the decode's verdict.
        options.judgeOnly = true;
        ImageBuffer judged;
        const DecodeResult j = decodePicture(data, size, options, judged);
        if (j.error != ImageError::OutOfMemory && r.error != ImageError::OutOfMemory &&
            (j.ok() != r.ok() || (!r.ok() && judged.message != img.message)))
            std::abort();
    }
    return 0;
}

// The reader alone on arbitrary bytes, whatever its sniffer says: the weakly signed formats are
// tried last by the registry on files nothing else claimed.
inline int fuzzReaderAlone(const Codec& codec, const uint8_t* data, size_t size) {
    codec.sniff(data, size);
    if (tooLargeForFuzzing(codec, data, size)) return 0;
    ImageBuffer img;
    const DecodeResult r = decodeWith(codec, data, size, DecodeOptions{}, img);
    if (r.ok() && img.valid()) touchWholePicture(img);
    return 0;
}

}  // namespace pr::fuzz
