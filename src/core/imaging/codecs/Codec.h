#pragma once
// One picture format: a content sniffer and a decoder that writes straight into an ImageBuffer.
// Every decoder works on the whole file in memory and checks every length, count, offset and
// palette index against the bytes that remain and against Limits.h before it allocates or writes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/ImageError.h"

namespace pr {

struct DecodeOptions {
    // When both are > 0 a reader may decode at a reduced size that is still at least this large
    // (thumbnails); readers that cannot reduce decode fully.
    int maxWidth = 0;
    int maxHeight = 0;
};

struct DecodeResult {
    ImageError error = ImageError::None;
    std::string detail;
    // The picture's own size and depth as the file describes it (also when the buffer is reduced).
    int trueWidth = 0;
    int trueHeight = 0;
    int trueBitCount = 0;
    bool ok() const { return error == ImageError::None; }
};

struct Codec {
    const char* name;
    bool (*sniff)(const uint8_t* data, size_t size);
    DecodeResult (*decode)(const uint8_t* data, size_t size, const DecodeOptions& options,
                           ImageBuffer& out);
};

// A failed decode: what went wrong, and a German detail for the message (may be empty).
DecodeResult decodeFailure(ImageError error, std::string detail = {});
// A decoded picture of the file's own size and depth; a picture whose data broke off says so in
// its detail.
DecodeResult decodedPicture(int width, int height, int bitCount, bool complete = true);

// A cut-off file still shows the rows it has, but a stub that holds almost none of the rows it
// announces is refused before a picture of that size is allocated and whitened for it: a file
// must hold at least 1/kMinShareOfRows of its rows.
constexpr uint64_t kMinShareOfRows = 100;
inline bool holdsEnoughRows(uint64_t rowsPresent, uint64_t rows) {
    return rowsPresent > 0 && rowsPresent >= rows / kMinShareOfRows;
}

// Index of the lightest colour-table entry: what "white" is for the undecoded rest of a palette
// picture.
int lightestTableIndex(const ImageBuffer& img);
// A byte of the picture's depth in which every pixel is white (that entry, or 0xFF for 24 bits).
uint8_t whiteFillByte(const ImageBuffer& img);

// One definition per format, each in its own file.
const Codec& bmpCodec();
const Codec& pngCodec();
const Codec& gifCodec();
const Codec& tiffCodec();
const Codec& iffCodec();
const Codec& jpegCodec();
const Codec& pcxCodec();
const Codec& tgaCodec();
const Codec& heifCodec();
const Codec& avifCodec();
const Codec& webpCodec();
const Codec& jxlCodec();

}  // namespace pr
