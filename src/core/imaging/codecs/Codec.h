#pragma once
// One picture format: a content sniffer, a header reader and a decoder that writes straight into
// an ImageBuffer. Every decoder works on the whole file in memory and checks every length, count,
// offset and palette index against the bytes that remain and against Limits.h before it allocates
// or writes.
//
// Readers are only ever run through decodeWith (PictureDecoder.h): the header comes first, so the
// size caps and the share of rows a file must hold are judged in one place before a reader
// allocates anything, and the rows that broke off are whitened and the picture turned upright in
// one place after it.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/ImageError.h"

namespace pr {

struct DecodeOptions {
    // When both are > 0 a reader may decode at a reduced size that is still at least this large
    // (thumbnails); readers that cannot reduce decode fully.
    int maxWidth = 0;
    int maxHeight = 0;
    // A cut-off file still shows the rows it has, and the rows that broke off are white. But a
    // stub that cannot hold even 1/minShareOfRows of the rows it announces is refused before a
    // picture of that size is allocated and whitened for it, and so is one whose rows turn out to
    // break off that early. 0 takes every file.
    uint64_t minShareOfRows = 100;
    // Only judge the file: a reader whose remaining data cannot make the decode fail once its
    // first rows are out (a single-scan JPEG, once the share of rows above is made) stops there
    // and says so in DecodeResult::judgedOnly; the others decode as usual.
    bool judgeOnly = false;
};

// What a file announces before a pixel of it is decoded.
struct PictureHeader {
    // The picture the reader will allocate, as stored (before any orientation is applied).
    int64_t width = 0;
    int64_t height = 0;
    int bitCount = 0;  // 1, 4, 8 or 24
    // The most rows the file's data can fill: exact where the reader can count them, otherwise
    // at the densest coding the file's variant of the format allows.
    uint64_t rowsAtMost = 0;
    // The most bytes from the start of the file the reader can use (a file reader need not read
    // further); the whole file unless the format says otherwise.
    uint64_t bytesNeeded = std::numeric_limits<uint64_t>::max();
};

struct DecodeResult {
    ImageError error = ImageError::None;
    std::string detail;  // German: it is shown to the user after the error's text
    // The picture's own size and depth as the file describes it (also when the buffer is reduced).
    int trueWidth = 0;
    int trueHeight = 0;
    int trueBitCount = 0;
    // Filled by the reader for decodeWith: the rows of the picture that hold data, counted in the
    // order the file stores them (from the bottom with `bottomUp`); the others broke off. And the
    // EXIF/TIFF orientation (Orientation.h) that turns the stored picture upright.
    int rowsDecoded = std::numeric_limits<int>::max();
    bool bottomUp = false;
    int orientation = 1;
    // The reader stopped after its first rows (DecodeOptions::judgeOnly): the file is sound as far
    // as a whole decode could tell, but the picture's pixels are not all made.
    bool judgedOnly = false;
    bool ok() const { return error == ImageError::None; }
};

// What a decoding library itself says about a broken file is English: it goes to the log on
// stderr, never into a message the user sees.
void logLibraryMessage(const char* library, const char* text);

struct Codec {
    const char* name;
    bool (*sniff)(const uint8_t* data, size_t size);
    // The picture the file announces. Works on a leading part of the file too, failing when the
    // header lies beyond it; allocates nothing of the picture's size.
    DecodeResult (*header)(const uint8_t* data, size_t size, PictureHeader& out);
    DecodeResult (*decode)(const uint8_t* data, size_t size, const DecodeOptions& options,
                           ImageBuffer& out);
};

// A failed decode: what went wrong, and a German detail for the message (may be empty).
DecodeResult decodeFailure(ImageError error, std::string detail = {});
// A decoded picture of the file's own size and depth, of which the first `rowsDecoded` rows in
// file order hold data (all by default).
DecodeResult decodedPicture(int width, int height, int bitCount,
                            int rowsDecoded = std::numeric_limits<int>::max());
// A header read: the picture as the reader will allocate it.
DecodeResult announcedPicture(PictureHeader& out, int64_t width, int64_t height, int bitCount,
                              uint64_t rowsAtMost);

// The rows `dataBytes` of coded data can fill when one coded byte gives at most `densest` bytes of
// rows of `rowBytes` each (a partly filled row counts), saturating at `rows`.
uint64_t rowsAtDensity(uint64_t dataBytes, uint64_t densest, uint64_t rowBytes, uint64_t rows);

// The rows a file of `fileBytes` in one of today's photo codings (HEVC, AV1, VP8, JPEG XL) can
// fill, at a density no photo comes near: one coded byte for 1024 pixels. Flat areas cost next
// to nothing in these codings, but a file of a few hundred bytes announcing a hundred million
// pixels is no photo.
uint64_t rowsOfCompressedPhoto(uint64_t fileBytes, int64_t width, int64_t height);

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
