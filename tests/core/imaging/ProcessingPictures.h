#pragma once
// Pictures made in code for the image-processing tests, and comparisons through the public pixel
// access, so that the checks do not share the row arithmetic of the code under test.

#include <cstdint>
#include <random>
#include <vector>

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/Progress.h"

namespace proctest {

// A picture with random pixels, and for palette depths a random colour table.
inline pr::ImageBuffer randomPicture(int w, int h, int bits, uint32_t seed) {
    pr::ImageBuffer b;
    if (!pr::newdib(b, w, h, bits)) return b;
    std::mt19937 rng(seed);
    for (int i = 0; i < b.tableSize(); ++i)
        b.info->colors[i] = pr::RgbQuad{uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
    pr::syncPalette(b);
    const uint32_t mask = bits == 24 ? 0xFFFFFFu : (1u << bits) - 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pr::setpixel(b, x, y, rng() & mask);
    return b;
}

inline std::vector<uint32_t> pixels(const pr::ImageBuffer& b) {
    std::vector<uint32_t> v;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) v.push_back(pr::getpixel(b, x, y));
    return v;
}

inline std::vector<uint8_t> bytesOf(const void* p, size_t n) {
    return std::vector<uint8_t>(static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
}
inline std::vector<uint8_t> colourTable(const pr::ImageBuffer& b) {
    return bytesOf(b.info->colors, sizeof(pr::RgbQuad) * b.tableSize());
}
inline std::vector<uint8_t> paletteBytes(const pr::ImageBuffer& b) {
    return bytesOf(&b.palette, sizeof b.palette);
}
inline std::vector<uint8_t> allPixelBytes(const pr::ImageBuffer& b) {
    return bytesOf(b.bits, b.imageBytes());
}

struct ProgressLog {
    std::vector<int> values;
    pr::ProgressFn fn() {
        return [this](int p) { values.push_back(p); };
    }
};

}  // namespace proctest
