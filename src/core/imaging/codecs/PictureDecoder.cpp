#include "core/imaging/codecs/PictureDecoder.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/imaging/DibSize.h"
#include "core/imaging/Orientation.h"

namespace pr {
namespace {

bool holdsShare(uint64_t rows, uint64_t height, uint64_t share) {
    return share == 0 || (rows > 0 && rows >= height / share);
}

// Rows from `rowsDecoded` on, in the order the file stores them, become white.
void whitenFrom(ImageBuffer& picture, int rowsDecoded, bool bottomUp) {
    const uint8_t white = whiteFillByte(picture);
    for (int i = rowsDecoded; i < picture.height(); ++i) {
        uint8_t* row = bottomUp ? picture.storedRow(i) : picture.rowFromTop(i);
        std::memset(row, white, static_cast<size_t>(picture.rowBytes));
    }
}

DecodeResult finish(const PictureHeader& header, const DecodeOptions& options, DecodeResult r,
                    ImageBuffer& picture) {
    if (!picture.valid()) return decodeFailure(ImageError::Damaged);
    // The header is what the caps and the share were judged on, so it must hold.
    if (static_cast<int64_t>(picture.width()) * picture.height() > header.width * header.height)
        return decodeFailure(ImageError::Damaged);
    const int height = picture.height();
    const int rows = std::clamp(r.rowsDecoded, 0, height);
    if (rows < height) {
        if (rows == 0) return decodeFailure(ImageError::Damaged, "keine Bilddaten");
        if (!holdsShare(static_cast<uint64_t>(rows), static_cast<uint64_t>(height),
                        options.minShareOfRows))
            return decodeFailure(ImageError::Damaged, "zu wenig Bilddaten");
        whitenFrom(picture, rows, r.bottomUp);
        r.detail = "unvollständig";
    }
    if (!applyOrientation(picture, r.orientation)) return decodeFailure(ImageError::OutOfMemory);
    if (orientationSwapsAxes(r.orientation)) std::swap(r.trueWidth, r.trueHeight);
    r.rowsDecoded = picture.height();
    r.bottomUp = false;
    r.orientation = 1;
    return r;
}

}  // namespace

DecodeResult admitPicture(const PictureHeader& header, const DecodeOptions& options) {
    DibLayout layout;
    const SizeCheck check = computeDibLayout(header.width, header.height, header.bitCount, layout);
    if (check == SizeCheck::TooLarge) return decodeFailure(ImageError::TooLarge);
    if (check != SizeCheck::Ok) return decodeFailure(ImageError::Damaged, "Bildgröße");
    if (!holdsShare(header.rowsAtMost, static_cast<uint64_t>(header.height),
                    options.minShareOfRows))
        return decodeFailure(ImageError::Damaged, "zu wenig Bilddaten");
    return DecodeResult{};
}

DecodeResult decodeWith(const Codec& codec, const uint8_t* data, size_t size,
                        const DecodeOptions& options, ImageBuffer& out) {
    static const uint8_t kNothing = 0;
    if (!data) data = &kNothing, size = 0;
    PictureHeader header;
    DecodeResult r = codec.header(data, size, header);
    if (r.ok()) r = admitPicture(header, options);
    ImageBuffer picture;
    if (r.ok()) r = codec.decode(data, size, options, picture);
    if (r.ok()) r = finish(header, options, std::move(r), picture);
    if (!r.ok()) {
        deldib(out);
        out.message = imageErrorText(r.error, r.detail);
        return r;
    }
    out = std::move(picture);
    out.message.clear();
    return r;
}

}  // namespace pr
