#include "core/imaging/codecs/BgrRowWriter.h"

#include <cstring>
#include <utility>

namespace pr {
namespace {

// c over white with coverage a: c*a/255 + 255*(1 - a/255), rounded.
inline uint8_t overWhite(unsigned c, unsigned a) {
    return static_cast<uint8_t>((c * a + 255 * (255 - a) + 127) / 255);
}

// A premultiplied colour already holds c*a; white adds what the pixel leaves uncovered.
inline uint8_t premultipliedOverWhite(unsigned c, unsigned a) {
    const unsigned v = c + 255 - a;
    return static_cast<uint8_t>(v > 255 ? 255 : v);
}

void plainToBgr(const uint8_t* in, int width, PixelLayout layout, uint8_t* out) {
    switch (layout) {
        case PixelLayout::Bgr:
            if (in != out) std::memcpy(out, in, static_cast<size_t>(width) * 3);
            break;
        case PixelLayout::Bgra:
            for (int x = 0; x < width; ++x, in += 4, out += 3) {
                const uint8_t blue = in[0], green = in[1], red = in[2];
                out[0] = blue;
                out[1] = green;
                out[2] = red;
            }
            break;
        case PixelLayout::Rgb:
        case PixelLayout::Rgba: {
            const int step = bytesPerPixel(layout);
            // Read before written: `out` may be `in`.
            for (int x = 0; x < width; ++x, in += step, out += 3) {
                const uint8_t red = in[0], green = in[1], blue = in[2];
                out[0] = blue;
                out[1] = green;
                out[2] = red;
            }
            break;
        }
        case PixelLayout::Grey:
        case PixelLayout::GreyAlpha: {
            const int step = bytesPerPixel(layout);
            for (int x = 0; x < width; ++x, in += step, out += 3) out[0] = out[1] = out[2] = in[0];
            break;
        }
    }
}

// `out` already holds the colours; `in` supplies the alpha of each pixel.
void composeOverWhite(const uint8_t* in, int width, PixelLayout layout, bool premultiplied,
                      uint8_t* out) {
    const int step = bytesPerPixel(layout);
    const uint8_t* alpha = in + step - 1;
    if (premultiplied) {
        for (int x = 0; x < width; ++x, alpha += step, out += 3) {
            const unsigned a = *alpha;
            out[0] = premultipliedOverWhite(out[0], a);
            out[1] = premultipliedOverWhite(out[1], a);
            out[2] = premultipliedOverWhite(out[2], a);
        }
        return;
    }
    for (int x = 0; x < width; ++x, alpha += step, out += 3) {
        const unsigned a = *alpha;
        if (a == 255) continue;
        out[0] = overWhite(out[0], a);
        out[1] = overWhite(out[1], a);
        out[2] = overWhite(out[2], a);
    }
}

}  // namespace

BgrRowWriter::BgrRowWriter(PixelLayout layout, bool premultiplied, SrgbTransform colour)
    : layout_(layout), premultiplied_(premultiplied), colour_(std::move(colour)) {
    // A transform made for other pixels would read the row wrongly; better no conversion.
    if (colour_.layout() != layout_) colour_ = SrgbTransform();
}

void BgrRowWriter::write(const uint8_t* in, int width, uint8_t* out) const {
    if (width <= 0) return;
    // The colours are converted before alpha is applied: white is white in every space, and the
    // profile describes the stored colours, not the colours over some background.
    if (colour_.converts())
        colour_.toBgr(in, out, width);
    else
        plainToBgr(in, width, layout_, out);
    if (hasAlpha(layout_)) composeOverWhite(in, width, layout_, premultiplied_, out);
}

}  // namespace pr
