#pragma once
// Shared by the PCX, TGA and IFF reader tests: pictures with a chosen number of colours, running
// an encoder from a shell line, decoding with one codec and comparing with the reference pixels.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "imaging/codecs/Codec.h"

namespace owncodecs {

using testsupport::Rgb;

// A picture that uses exactly `colors` distinct colours (up to 256), laid out so that neighbouring
// pixels differ and every colour appears.
inline Rgb paletteFixture(int w, int h, int colors, unsigned seed = 7) {
    std::vector<uint8_t> table(static_cast<size_t>(colors) * 3);
    unsigned s = seed;
    for (int i = 0; i < colors; ++i) {
        s = s * 1103515245u + 12345u;
        table[3 * i] = static_cast<uint8_t>(i * 255 / (colors > 1 ? colors - 1 : 1));
        table[3 * i + 1] = static_cast<uint8_t>(s >> 16);
        table[3 * i + 2] = static_cast<uint8_t>(255 - i * 37);
    }
    Rgb img;
    img.width = w;
    img.height = h;
    img.pixels.resize(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int c = (x + y * w) % colors;
            for (int k = 0; k < 3; ++k)
                img.pixels[(static_cast<size_t>(y) * w + x) * 3 + k] = table[3 * c + k];
        }
    return img;
}

// The decoded picture as RGB, top row first, through getpixel and the colour table.
inline Rgb toRgb(const pr::ImageBuffer& b) {
    Rgb img;
    img.width = b.width();
    img.height = b.height();
    img.pixels.resize(static_cast<size_t>(img.width) * img.height * 3);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const uint32_t v = pr::getpixel(b, x, y);
            uint8_t* p = &img.pixels[(static_cast<size_t>(y) * img.width + x) * 3];
            if (b.bitCount() == 24) {
                p[0] = v & 0xFF, p[1] = (v >> 8) & 0xFF, p[2] = (v >> 16) & 0xFF;
            } else {
                const pr::RgbQuad& q = b.info->colors[v];
                p[0] = q.red, p[1] = q.green, p[2] = q.blue;
            }
        }
    return img;
}

// Largest difference of one channel, and the first pixel where it exceeds `tolerance`.
inline ::testing::AssertionResult samePicture(const Rgb& expected, const Rgb& actual,
                                              int tolerance = 0) {
    if (expected.width != actual.width || expected.height != actual.height)
        return ::testing::AssertionFailure()
               << "size " << actual.width << "x" << actual.height << ", expected " << expected.width
               << "x" << expected.height;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            for (int k = 0; k < 3; ++k) {
                const size_t i = (static_cast<size_t>(y) * expected.width + x) * 3 + k;
                if (std::abs(expected.pixels[i] - actual.pixels[i]) > tolerance)
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << "," << y << ") channel " << k << ": "
                           << int(actual.pixels[i]) << ", expected " << int(expected.pixels[i]);
            }
    return ::testing::AssertionSuccess();
}

inline pr::DecodeResult decodeBytes(const pr::Codec& codec, const std::vector<uint8_t>& bytes,
                                    pr::ImageBuffer& out) {
    return codec.decode(bytes.data(), bytes.size(), pr::DecodeOptions{}, out);
}

inline void put16le(std::vector<uint8_t>& v, size_t at, int x) {
    v[at] = static_cast<uint8_t>(x);
    v[at + 1] = static_cast<uint8_t>(x >> 8);
}

// Every prefix and a set of one-byte corruptions of a good file: the reader must answer each with
// a picture or an error, never a crash, and a failure always carries a code.
inline void feedDamagedVariants(const pr::Codec& codec, const std::vector<uint8_t>& good) {
    for (size_t n = 0; n < good.size(); n += 1 + good.size() / 97) {
        pr::ImageBuffer b;
        const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
        const pr::DecodeResult r = decodeBytes(codec, cut, b);
        EXPECT_EQ(r.ok(), b.valid()) << "prefix of " << n << " bytes";
    }
    for (size_t i = 0; i < good.size(); ++i)
        for (uint8_t v : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x80}, uint8_t{0x7F}}) {
            std::vector<uint8_t> bad = good;
            bad[i] = v;
            pr::ImageBuffer b;
            const pr::DecodeResult r = decodeBytes(codec, bad, b);
            EXPECT_EQ(r.ok(), b.valid()) << "byte " << i << " set to " << int(v);
        }
}

}  // namespace owncodecs
