#include <algorithm>

#include "CodecTestSupport.h"

using namespace codectest;
using namespace testsupport;

namespace {

// A 128-byte header and the given body.
std::vector<uint8_t> pcx(int bpp, int planes, int w, int h, int bytesPerLine, int encoding,
                         const std::vector<uint8_t>& body) {
    std::vector<uint8_t> v(128 + body.size(), 0);
    std::copy(body.begin(), body.end(), v.begin() + 128);
    v[0] = 0x0A, v[1] = 5, v[2] = uint8_t(encoding), v[3] = uint8_t(bpp), v[65] = uint8_t(planes);
    put16le(v, 8, w - 1), put16le(v, 10, h - 1), put16le(v, 66, bytesPerLine);
    return v;
}

TEST(PcxCodec, HandMadeFilesGiveTheRightPixels) {
    std::vector<uint8_t> ega = pcx(1, 4, 2, 1, 1, 0, {0x80, 0x40, 0x80, 0x80});
    ega[16 + 13 * 3] = 0xAB;  // red of entry 13
    // 8 bits without a colour table at the end: grey. The first run fills row 0 and half of row 1.
    const auto grey = pcx(8, 1, 4, 2, 4, 1, {0xC6, 0x20, 0x30, 0x31});
    const auto rgb = pcx(8, 3, 2, 1, 2, 1, {0xC3, 0x10, 0xC3, 0x90});  // runs of 1.5 planes
    const auto mono = pcx(1, 1, 8, 1, 2, 0, {0xF0, 0x00});             // empty header palette
    expectHandMadeFiles(
        pr::pcxCodec(),
        {
            {"8-bit runs across rows, grey",
             grey,
             true,
             {{0x202020, 0x202020, 0x202020, 0x202020}, {0x202020, 0x202020, 0x303030, 0x313131}}},
            {"24-bit runs across planes", rgb, true, {{0x901010, 0x909010}}},
            {"mono, empty header palette",
             mono,
             true,
             {{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0, 0, 0, 0}}},
            {"EGA planes low first: 0b1101", ega, false, {{13, 2}}},
        });
    pr::ImageBuffer b;
    ASSERT_TRUE(decodeBytes(pr::pcxCodec(), ega, b).ok());
    EXPECT_EQ(rgbAt(b, 0, 0) & 0xFF, 0xABu);  // red of entry 13
}

TEST(PcxCodec, ForgedAndCutHeadersAreRefusedBeforeAllocating) {
    std::vector<uint8_t> huge = pcx(8, 1, 65536, 65536, 65535, 1, std::vector<uint8_t>(4000, 0xC1));
    put16le(huge, 8, 65535), put16le(huge, 10, 65535);  // 4 GiB at 8 bits
    expectRefused(
        pr::pcxCodec(),
        {
            {"65536 x 65536", huge, pr::ImageError::TooLarge},
            {"line shorter than the width", pcx(8, 1, 100, 2, 50, 0, std::vector<uint8_t>(200)),
             pr::ImageError::Damaged},
            {"big window, two bytes", pcx(8, 3, 20000, 10000, 20000, 1, {0xC5, 1}),
             pr::ImageError::Damaged},
            {"two planes of 8 bits", pcx(8, 2, 4, 4, 4, 0, std::vector<uint8_t>(32)),
             pr::ImageError::Unsupported},
            {"header only", pcx(8, 1, 4, 2, 4, 1, {}), pr::ImageError::Damaged},
            {"cut header", std::vector<uint8_t>(100, 0x0A), pr::ImageError::Damaged},
            {"empty", {}, pr::ImageError::Damaged},
        });
}

TEST(PcxCodec, SnifferWantsAPlausibleHeader) {
    const std::vector<uint8_t> good = pcx(8, 1, 4, 2, 4, 1, {0xC8, 0x20});
    EXPECT_TRUE(pr::pcxCodec().sniff(good.data(), good.size()));
    EXPECT_FALSE(pr::pcxCodec().sniff(good.data(), 127));
    // manufacturer, version, encoding, bits per pixel, planes, xmin 10 > xmax 3
    for (auto [at, v] : {std::pair{0, 0x0B}, {1, 1}, {2, 2}, {3, 3}, {65, 0}, {4, 10}}) {
        std::vector<uint8_t> bad = good;
        bad[at] = uint8_t(v);
        EXPECT_FALSE(pr::pcxCodec().sniff(bad.data(), bad.size())) << at;
    }
}

}  // namespace
