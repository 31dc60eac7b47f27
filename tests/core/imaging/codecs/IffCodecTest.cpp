#include "CodecTestSupport.h"

using namespace codectest;
using namespace testsupport;

namespace {

// Builds IFF files chunk by chunk.
struct Form {
    std::vector<uint8_t> bytes;
    explicit Form(const char* type) : bytes{'F', 'O', 'R', 'M', 0, 0, 0, 0} {
        bytes.insert(bytes.end(), type, type + 4);
    }
    Form& chunk(const char* id, const std::vector<uint8_t>& data) {
        bytes.insert(bytes.end(), id, id + 4);
        for (int s = 24; s >= 0; s -= 8) bytes.push_back(uint8_t(data.size() >> s));
        bytes.insert(bytes.end(), data.begin(), data.end());
        if (data.size() & 1) bytes.push_back(0);
        return *this;
    }
    std::vector<uint8_t> done() {
        for (int i = 0; i < 4; ++i) bytes[4 + i] = uint8_t((bytes.size() - 8) >> (24 - 8 * i));
        return bytes;
    }
};

std::vector<uint8_t> bmhd(int w, int h, int planes, int masking = 0, int compression = 0) {
    std::vector<uint8_t> v(20, 0);
    v[0] = uint8_t(w >> 8), v[1] = uint8_t(w), v[2] = uint8_t(h >> 8), v[3] = uint8_t(h);
    v[8] = uint8_t(planes), v[9] = uint8_t(masking), v[10] = uint8_t(compression);
    return v;
}

// Uncompressed ILBM rows from pixel indices (top row first), with an all-ones mask plane if asked.
std::vector<uint8_t> planarBody(const std::vector<std::vector<int>>& rows, int planes,
                                bool mask = false) {
    std::vector<uint8_t> body;
    for (const auto& row : rows)
        for (int p = 0; p < planes + (mask ? 1 : 0); ++p) {
            std::vector<uint8_t> plane((row.size() + 15) / 16 * 2, 0);
            for (size_t x = 0; x < row.size(); ++x)
                if (p == planes || ((row[x] >> p) & 1)) plane[x >> 3] |= uint8_t(0x80 >> (x & 7));
            body.insert(body.end(), plane.begin(), plane.end());
        }
    return body;
}

std::vector<uint8_t> cmapOf(int n, int step) {
    std::vector<uint8_t> v;
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) v.push_back(uint8_t((i * step + k * 3) & 0xFF));
    return v;
}

TEST(IffCodec, HandMadeFilesShowTheRightColours) {
    const auto ehb = Form("ILBM")
                         .chunk("BMHD", bmhd(2, 1, 6))
                         .chunk("CMAP", cmapOf(32, 7))
                         .chunk("CAMG", {0, 0, 0, 0x80})
                         .chunk("BODY", planarBody({{3, 35}}, 6))
                         .done();
    // HAM6: control bits 01 = blue, 10 = red, 11 = green, 00 = base colour.
    const auto ham =
        Form("ILBM")
            .chunk("BMHD", bmhd(5, 2, 6))
            .chunk("CMAP", cmapOf(16, 16))
            .chunk("CAMG", {0, 0, 0x08, 0})
            .chunk("BODY", planarBody({{0x1F, 0x25, 0x30, 0x02, 0x3F}, {0x2F, 0, 0, 0, 0}}, 6))
            .done();
    const auto masked = Form("ILBM")
                            .chunk("BMHD", bmhd(5, 2, 2, 1))
                            .chunk("CMAP", cmapOf(4, 60))
                            .chunk("BODY", planarBody({{0, 1, 2, 3, 3}, {3, 2, 1, 0, 1}}, 2, true))
                            .done();
    // 3 x 2 chunky, rows padded to 4 bytes: one run of 6 bytes of 9, then a literal 7, 8.
    const auto pbm = Form("PBM ")
                         .chunk("BMHD", bmhd(3, 2, 8, 0, 1))
                         .chunk("CMAP", cmapOf(16, 16))
                         .chunk("BODY", {0xFB, 9, 0x01, 7, 8})
                         .done();
    const auto noCmap = Form("ILBM")
                            .chunk("ANNO", {'a', 'b', 'c'})
                            .chunk("BMHD", bmhd(2, 1, 2))
                            .chunk("BODY", planarBody({{0, 3}}, 2))
                            .done();
    expectHandMadeFiles(
        pr::iffCodec(),
        {
            {"extra half-brite: colour 3 (21, 24, 27) and 35 halved",
             ehb,
             true,
             {{0x1B1815, 0x0D0C0A}}},
            // Blue 15 -> 255 on colour 0 (0, 3, 6), red 5 -> 0x55, green 0, base colour 2, green
            // 15; the next row starts again from colour 0.
            {"HAM6",
             ham,
             true,
             {{0xFF0300, 0xFF0355, 0xFF0055, 0x262320, 0x26FF20},
              {0x0603FF, 0x060300, 0x060300, 0x060300, 0x060300}}},
            {"mask plane read past and dropped", masked, false, {{0, 1, 2, 3, 3}, {3, 2, 1, 0, 1}}},
            {"PBM run across rows", pbm, false, {{9, 9, 9}, {9, 9, 7}}},
            {"odd chunk padded, no CMAP: grey", noCmap, true, {{0, 0xFFFFFF}}},
        });
    pr::ImageBuffer b;
    ASSERT_TRUE(decodeBytes(pr::iffCodec(), ehb, b).ok());
    EXPECT_EQ(b.bitCount() * 1000 + int(pr::getpixel(b, 1, 0)), 8035);  // index 35 kept in 8 bits
}

TEST(IffCodec, BrokenStructureIsRefused) {
    const std::vector<uint8_t> body = planarBody({{1, 0}}, 1);
    std::vector<uint8_t> lying =
        Form("ILBM").chunk("BMHD", bmhd(2, 1, 1)).chunk("BODY", body).done();
    lying[16] = 0x7F;  // a BMHD length far past the end of the file
    expectRefused(
        pr::iffCodec(),
        {
            {"no BMHD", Form("ILBM").chunk("BODY", body).done(), pr::ImageError::Damaged},
            {"no BODY", Form("ILBM").chunk("BMHD", bmhd(2, 1, 1)).done(), pr::ImageError::Damaged},
            {"short BMHD", Form("ILBM").chunk("BMHD", {0, 2, 0, 1}).chunk("BODY", body).done(),
             pr::ImageError::Damaged},
            {"65535 x 65535",
             Form("ILBM").chunk("BMHD", bmhd(65535, 65535, 8)).chunk("BODY", body).done(),
             pr::ImageError::TooLarge},
            {"big picture, two bytes",
             Form("ILBM")
                 .chunk("BMHD", bmhd(20000, 10000, 24, 0, 1))
                 .chunk("BODY", {0x81, 0})
                 .done(),
             pr::ImageError::Damaged},
            {"compression 2",
             Form("ILBM").chunk("BMHD", bmhd(2, 1, 1, 0, 2)).chunk("BODY", body).done(),
             pr::ImageError::Unsupported},
            {"lying BMHD length", lying, pr::ImageError::Damaged},
        });
}

TEST(IffCodec, SnifferWantsAnIlbmOrPbmForm) {
    auto sniff = [](const std::vector<uint8_t>& v) {
        return pr::iffCodec().sniff(v.data(), v.size());
    };
    EXPECT_TRUE(sniff(Form("ILBM").done()));
    EXPECT_TRUE(sniff(Form("PBM ").done()));
    EXPECT_FALSE(sniff(Form("AIFF").done()));
    EXPECT_FALSE(sniff({'F', 'O', 'R', 'M'}));
}

}  // namespace
