#include <cstring>

#include "CodecTestSupport.h"

using namespace codectest;
using namespace testsupport;

namespace {

// An 18-byte header, an optional colour map and the body.
std::vector<uint8_t> tga(int type, int depth, int w, int h, int descriptor,
                         const std::vector<uint8_t>& body, int mapFirst = 0, int mapLength = 0,
                         int mapBits = 0, const std::vector<uint8_t>& map = {}) {
    std::vector<uint8_t> v(18, 0);
    v[1] = mapLength ? 1 : 0, v[2] = uint8_t(type), v[7] = uint8_t(mapBits);
    v[16] = uint8_t(depth), v[17] = uint8_t(descriptor);
    put16le(v, 3, mapFirst), put16le(v, 5, mapLength), put16le(v, 12, w), put16le(v, 14, h);
    v.insert(v.end(), map.begin(), map.end());
    v.insert(v.end(), body.begin(), body.end());
    return v;
}

TEST(TgaCodec, HandMadeFilesShowTheRightColours) {
    const std::vector<uint8_t> abcd = {1, 0, 0, 2, 0, 0,
                                       3, 0, 0, 4, 0, 0};               // blue 1..4 in file order
    const std::vector<uint8_t> alpha = {0, 0, 200, 0, 0, 0, 200, 255};  // red, alpha 0 and 255
    const std::vector<uint8_t> red16 = {0x00, 0x7C, 0x00, 0xFC};  // without and with the top bit
    // A TGA 2.0 extension area that says "no alpha" wins over the descriptor.
    std::vector<uint8_t> ext = tga(2, 32, 2, 1, 8, alpha);
    const size_t at = ext.size();
    ext.resize(at + 495 + 26, 0);
    put16le(ext, at, 495);
    put16le(ext, at + 495, int(at));
    std::memcpy(&ext[at + 495 + 8], "TRUEVISION-XFILE.", 18);
    const uint32_t A = 0x010000, B = 0x020000, C = 0x030000, D = 0x040000, R = 0x0000FF,
                   G = 0x00FF00, Bl = 0xFF0000, W = 0xFFFFFF, red = 0x0000C8;
    const std::vector<uint8_t> map = {0, 0, 0, 0, 255, 0}, rle = {0x84, 0, 0, 255, 0x00, 255, 0, 0};
    const std::pair<std::vector<uint8_t>, Rows> cases[] = {
        {tga(2, 24, 2, 2, 0x00, abcd),
         {{C, D}, {A, B}}},  // bottom-up: the first file row is the bottom row
        {tga(2, 24, 2, 2, 0x10, abcd), {{D, C}, {B, A}}},  // bottom-up, right to left
        {tga(2, 24, 2, 2, 0x20, abcd), {{A, B}, {C, D}}},  // top-down
        {tga(2, 24, 2, 2, 0x30, abcd), {{B, A}, {D, C}}},  // top-down, right to left
        // RLE packets carry on across rows: a run of five, then one raw pixel.
        {tga(10, 24, 3, 2, 0x20, rle), {{R, R, R}, {R, R, Bl}}},
        {tga(9, 8, 3, 2, 0x20, {0x84, 1, 0x00, 0}, 0, 2, 24, map), {{G, G, G}, {G, G, 0}}},
        // Map entries are colours 5 and 6; pixel values name them directly, 0 has no colour.
        {tga(1, 8, 3, 1, 0, {5, 6, 0}, 5, 2, 24, {0, 0, 255, 255, 0, 0}), {{R, Bl, 0}}},
        {tga(2, 32, 2, 1, 8, alpha), {{W, red}}},    // composed over white
        {tga(2, 32, 2, 1, 0, alpha), {{red, red}}},  // no attribute bits: padding
        {tga(2, 32, 2, 1, 8, {0, 0, 200, 0, 0, 0, 200, 0}),
         {{red, red}}},                                       // zero everywhere: opaque
        {tga(2, 32, 1, 1, 8, {0, 0, 0, 128}), {{0x7F7F7F}}},  // half way to white
        {tga(2, 16, 2, 1, 1, red16), {{W, R}}},               // 16 bits: the top bit
        {tga(2, 16, 2, 1, 0, red16), {{R, R}}},
        {ext, {{red, red}}},
        // Grey and alpha (16 bits): over white, and still grey.
        {tga(3, 16, 3, 1, 8, {100, 255, 100, 0, 0, 128}), {{0x646464, W, 0x7F7F7F}}},
        {tga(11, 16, 3, 1, 8, {0x82, 0, 128}), {{0x7F7F7F, 0x7F7F7F, 0x7F7F7F}}},
        {tga(3, 16, 2, 1, 0, {100, 0, 50, 0}), {{0x646464, 0x323232}}},  // no attribute bits
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string what = "case " + std::to_string(i);
        pr::ImageBuffer b;
        const pr::DecodeResult r = decodeBytes(pr::tgaCodec(), cases[i].first, b);
        ASSERT_TRUE(r.ok()) << what << ": " << pr::imageErrorText(r.error, r.detail);
        expectRows(b, true, cases[i].second, what);
    }
}

TEST(TgaCodec, ForgedAndCutHeadersAreRefusedBeforeAllocating) {
    expectRefused(
        pr::tgaCodec(),
        {
            {"65535 x 65535", tga(10, 24, 65535, 65535, 0, std::vector<uint8_t>(2000, 0xFF)),
             pr::ImageError::TooLarge},
            {"map past the end", tga(1, 8, 2, 2, 0, {0, 0, 0, 0}, 0, 256, 24, {1, 2, 3}),
             pr::ImageError::Damaged},
            {"20000 x 10000 on six bytes", tga(10, 24, 20000, 10000, 0, {0xFF, 1, 2, 3, 0xFF, 1}),
             pr::ImageError::Damaged},
            {"header only", tga(2, 24, 2, 2, 0, {}), pr::ImageError::Damaged},
            {"cut header", std::vector<uint8_t>(10, 0), pr::ImageError::Damaged},
        });
}

// Found by fuzzing: 134 bytes announcing 3855 x 61711 pixels made us allocate and whiten 700 MB
// before finding that not even one row was there.
TEST(TgaCodec, TimeoutOnAStubAnnouncingAHugePicture) {
    const std::vector<uint8_t> stub = {
        0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0F, 0x0F, 0x0D, 0x0F, 0x0F, 0x0F, 0x0F,
        0xF1, 0x0F, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0F, 0x0F, 0x0D, 0x0F, 0x0F, 0x0F, 0x0F,
        0xF1, 0x0F, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF, 0x7E, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF,
        0x80, 0x7E, 0x96, 0xF0, 0x80, 0x0F, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xF0, 0x00,
        0x00, 0x00, 0x00, 0x07, 0x00, 0x04, 0x00, 0x20, 0xDA, 0x08, 0x06, 0x00, 0x00, 0x01};
    pr::ImageBuffer b;
    EXPECT_EQ(decodeBytes(pr::tgaCodec(), stub, b).error, pr::ImageError::Damaged);
    EXPECT_FALSE(b.valid());
    // The same for a file that holds a few rows of 61711.
    const auto fewRows = tga(2, 24, 100, 61711, 0, std::vector<uint8_t>(100 * 3 * 40, 0x80));
    EXPECT_EQ(decodeBytes(pr::tgaCodec(), fewRows, b).error, pr::ImageError::Damaged);
}

TEST(TgaCodec, SnifferWantsFieldsThatAgree) {
    auto sniff = [](const std::vector<uint8_t>& v) {
        return pr::tgaCodec().sniff(v.data(), v.size());
    };
    const std::vector<uint8_t> px(12, 0), map(6, 0);
    EXPECT_TRUE(sniff(tga(2, 24, 2, 2, 0, px)));
    EXPECT_TRUE(sniff(tga(3, 8, 2, 2, 0, px)));
    EXPECT_TRUE(sniff(tga(1, 8, 2, 2, 0, px, 0, 2, 24, map)));
    EXPECT_FALSE(sniff(tga(4, 24, 2, 2, 0, px)));                // unknown type
    EXPECT_FALSE(sniff(tga(2, 8, 2, 2, 0, px)));                 // depth for the type
    EXPECT_FALSE(sniff(tga(2, 24, 0, 2, 0, px)));                // empty
    EXPECT_FALSE(sniff(tga(1, 8, 2, 2, 0, px)));                 // mapped, no map
    EXPECT_FALSE(sniff(tga(1, 8, 2, 2, 0, px, 0, 2, 12, map)));  // entry size
    std::vector<uint8_t> pcxLike(128, 0);
    pcxLike[0] = 0x0A, pcxLike[1] = 5, pcxLike[2] = 1, pcxLike[3] = 8;
    EXPECT_FALSE(sniff(pcxLike));
    EXPECT_FALSE(sniff(std::vector<uint8_t>(17, 0)));
}

}  // namespace
