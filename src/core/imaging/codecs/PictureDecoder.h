#pragma once
// The one road from a file's bytes to a picture, the same for every reader:
//  1. the reader's header says what picture the file announces;
//  2. admitPicture judges it before anything is allocated: the caps of Limits.h, and whether the
//     file can hold the share of rows DecodeOptions::minShareOfRows asks for, so a tiny file
//     announcing a huge picture is refused at once, whatever its format;
//  3. the reader decodes into a picture of its own, never larger than it announced;
//  4. the rows that broke off become white (a file whose rows broke off before that share is
//     refused after all), and the picture is turned upright by its orientation.
// `out` is replaced only by a finished picture; after a failure it holds no pixels, only the
// German message.

#include <cstddef>
#include <cstdint>

#include "core/imaging/codecs/Codec.h"

namespace pr {

// Steps 2 for a header read from the file (or from its first bytes).
DecodeResult admitPicture(const PictureHeader& header, const DecodeOptions& options);

// Steps 1 to 4 with `codec`, whatever its sniffer would say about the bytes.
DecodeResult decodeWith(const Codec& codec, const uint8_t* data, size_t size,
                        const DecodeOptions& options, ImageBuffer& out);

}  // namespace pr
