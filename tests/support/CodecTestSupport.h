#pragma once
// Shared by the reader tests (imaging/codecs) and the colour tests (imaging/color): a picture with
// a chosen number of colours, the decoded picture as RGB, comparisons and a damage feeder.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/imaging/RasterLibrary.h"
#include "core/imaging/codecs/Codec.h"
#include "core/imaging/codecs/PictureDecoder.h"

namespace codectest {

using testsupport::Rgb;

// The shown colour 0x00BBGGRR, through the colour table below 24 bits.
inline uint32_t rgbAt(const pr::ImageBuffer& b, int x, int y) {
    const uint32_t v = pr::getpixel(b, x, y);
    if (b.bitCount() == 24) return v;
    const pr::RgbQuad& q = b.info->colors[v];
    return q.red | (q.green << 8) | (q.blue << 16);
}

// Largest difference of one channel over the first `rows` rows; 1000 when the sizes differ.
inline int maxDiff(const pr::ImageBuffer& b, const Rgb& ref, int rows = -1) {
    if (!b.valid() || b.width() != ref.width || b.height() != ref.height) return 1000;
    int worst = 0;
    for (int y = 0; y < (rows < 0 ? ref.height : rows); ++y)
        for (int x = 0; x < ref.width; ++x)
            for (int s = 0; s < 24; s += 8)
                worst = std::max(worst, std::abs(int((rgbAt(b, x, y) >> s) & 255) -
                                                 int((ref.at(x, y) >> s) & 255)));
    return worst;
}

// A picture that uses exactly `colors` distinct colours (up to 256), neighbours differing.
inline Rgb paletteFixture(int w, int h, int colors) {
    Rgb img{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 3)};
    unsigned s = 7;
    std::vector<uint8_t> table;
    for (int i = 0; i < colors; ++i) {
        s = s * 1103515245u + 12345u;
        table.insert(table.end(), {uint8_t(i * 255 / std::max(colors - 1, 1)), uint8_t(s >> 16),
                                   uint8_t(255 - i * 37)});
    }
    for (size_t i = 0; i < img.pixels.size(); ++i)
        img.pixels[i] = table[3 * (i / 3 % colors) + i % 3];
    return img;
}

// A decoded hand-made file row by row, top row first, as indices or as shown colours 0x00BBGGRR.
using Rows = std::vector<std::vector<uint32_t>>;
inline void expectRows(const pr::ImageBuffer& b, bool colours, const Rows& rows,
                       const std::string& what) {
    ASSERT_EQ(b.height(), int(rows.size())) << what;
    for (int y = 0; y < b.height(); ++y) {
        ASSERT_EQ(b.width(), int(rows[y].size())) << what;
        for (int x = 0; x < b.width(); ++x)
            EXPECT_EQ(colours ? rgbAt(b, x, y) : pr::getpixel(b, x, y), rows[y][x])
                << what << " at " << x << "," << y;
    }
}

inline pr::DecodeResult decodeBytes(const pr::Codec& codec, const std::vector<uint8_t>& bytes,
                                    pr::ImageBuffer& out) {
    return pr::decodeWith(codec, bytes.data(), bytes.size(), pr::DecodeOptions{}, out);
}

// Hand-made files and the rows each must decode to.
struct HandMadeFile {
    const char* what;
    std::vector<uint8_t> file;
    bool colours;  // rows as shown colours, not as indices
    Rows rows;
};
inline void expectHandMadeFiles(const pr::Codec& codec, const std::vector<HandMadeFile>& files) {
    for (const HandMadeFile& f : files) {
        pr::ImageBuffer b;
        ASSERT_TRUE(decodeBytes(codec, f.file, b).ok()) << f.what;
        expectRows(b, f.colours, f.rows, f.what);
    }
}

inline void put16le(std::vector<uint8_t>& v, size_t at, int x) {
    v[at] = static_cast<uint8_t>(x);
    v[at + 1] = static_cast<uint8_t>(x >> 8);
}

// Every prefix and a set of one-byte corruptions of a good file: a picture or an error, never a
// crash, and a failure never leaves a picture behind.
inline void feedDamagedVariants(const pr::Codec& codec, const std::vector<uint8_t>& good) {
    for (size_t n = 0; n < good.size(); n += 1 + good.size() / 97) {
        pr::ImageBuffer b;
        const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
        const bool ok = decodeBytes(codec, cut, b).ok();
        EXPECT_EQ(ok, b.valid()) << "prefix of " << n << " bytes";
    }
    for (size_t i = 0; i < good.size(); ++i)
        for (uint8_t v : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x80}, uint8_t{0x7F}}) {
            std::vector<uint8_t> bad = good;
            bad[i] = v;
            pr::ImageBuffer b;
            const bool ok = decodeBytes(codec, bad, b).ok();
            EXPECT_EQ(ok, b.valid()) << "byte " << i << " set to " << int(v);
        }
}

// Whole files through decodePicture that must be refused: no picture left, not even the one the
// buffer held before, and a message.
struct Refusal {
    const char* what;
    std::vector<uint8_t> bytes;
    pr::ImageError error;
};
inline void expectRefused(const std::vector<Refusal>& cases) {
    for (const Refusal& c : cases) {
        pr::ImageBuffer img;
        ASSERT_TRUE(pr::newdib(img, 2, 2, 8));
        const pr::DecodeResult r =
            pr::decodePicture(c.bytes.data(), c.bytes.size(), pr::DecodeOptions{}, img);
        EXPECT_EQ(r.error, c.error) << c.what;
        EXPECT_EQ(img.bits, nullptr) << c.what;
        EXPECT_GT(img.message.size(), 5u) << c.what;
    }
}

// The same straight through one codec: an error code and no picture.
inline void expectRefused(const pr::Codec& codec, const std::vector<Refusal>& cases) {
    for (const Refusal& c : cases) {
        pr::ImageBuffer b;
        const pr::ImageError error = decodeBytes(codec, c.bytes, b).error;
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_FALSE(b.valid()) << c.what;
    }
}

}  // namespace codectest
