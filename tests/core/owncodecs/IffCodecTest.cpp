#include <algorithm>
#include <cstring>

#include "OwnCodecTestSupport.h"

using namespace owncodecs;
using namespace testsupport;

namespace {

struct EncoderCase {
    const char* name;
    int colors;  // 0: a true-colour picture
    const char* options;
    int bitCount;
    bool netpbmReference;  // HAM quantises: compare with ilbmtoppm's reading of the same file
    int tolerance;
};

class IffFromEncoders : public ::testing::TestWithParam<EncoderCase> {};

TEST_P(IffFromEncoders, DecodesPixelForPixel) {
    const EncoderCase& c = GetParam();
    TempDir dir;
    Rgb expected = c.colors ? paletteFixture(37, 23, c.colors) : patternPicture(37, 23);
    ASSERT_TRUE(writePpm(dir.file("in.ppm"), expected));
    ASSERT_TRUE(run(std::string("ppmtoilbm -quiet ") + c.options + " '" + dir.file("in.ppm") +
                    "' > '" + dir.file("out.iff") + "' 2>/dev/null"));
    if (c.netpbmReference) {
        ASSERT_TRUE(
            run("ilbmtoppm -quiet '" + dir.file("out.iff") + "' > '" + dir.file("ref.ppm") + "'"));
        expected = readNetpbm(dir.file("ref.ppm"));
    }
    const std::vector<uint8_t> bytes = readAll(dir.file("out.iff"));
    ASSERT_TRUE(pr::iffCodec().sniff(bytes.data(), bytes.size()));
    pr::ImageBuffer b;
    const pr::DecodeResult r = decodeBytes(pr::iffCodec(), bytes, b);
    ASSERT_TRUE(r.ok()) << pr::imageErrorText(r.error, r.detail);
    EXPECT_TRUE(r.detail.empty());
    EXPECT_EQ(b.bitCount(), c.bitCount);
    EXPECT_EQ(r.trueBitCount, c.bitCount);
    EXPECT_EQ(r.trueWidth, 37);
    EXPECT_EQ(r.trueHeight, 23);
    EXPECT_TRUE(samePicture(expected, toRgb(b), c.tolerance));
}

INSTANTIATE_TEST_SUITE_P(
    AllDepths, IffFromEncoders,
    ::testing::Values(EncoderCase{"onePlane", 2, "", 1, false, 0},
                      EncoderCase{"threePlanes", 5, "", 4, false, 0},
                      EncoderCase{"fourPlanes", 16, "", 4, false, 0},
                      EncoderCase{"fourPlanesUncompressed", 16, "-nocompress", 4, false, 0},
                      EncoderCase{"sevenPlanes", 100, "-maxplanes 8", 8, false, 0},
                      EncoderCase{"eightPlanes", 200, "-maxplanes 8 -fixplanes 8", 8, false, 0},
                      // ilbmtoppm widens a HAM value by shifting (15 -> 240), we by repeating its
                      // bits (15 -> 255), so the two readings differ by up to the dropped bits.
                      EncoderCase{"ham6", 0, "-ham6", 24, true, 15},
                      EncoderCase{"ham8", 0, "-ham8", 24, true, 3},
                      EncoderCase{"deep24", 0, "-24force", 24, false, 0},
                      EncoderCase{"deep24Uncompressed", 0, "-24force -nocompress", 24, false, 0}),
    [](const ::testing::TestParamInfo<EncoderCase>& i) { return std::string(i.param.name); });

// Builds IFF files chunk by chunk.
struct Form {
    std::vector<uint8_t> bytes;
    explicit Form(const char* type) {
        bytes = {'F', 'O', 'R', 'M', 0, 0, 0, 0};
        bytes.insert(bytes.end(), type, type + 4);
    }
    Form& chunk(const char* id, const std::vector<uint8_t>& data) {
        bytes.insert(bytes.end(), id, id + 4);
        for (int s = 24; s >= 0; s -= 8) bytes.push_back(static_cast<uint8_t>(data.size() >> s));
        bytes.insert(bytes.end(), data.begin(), data.end());
        if (data.size() & 1) bytes.push_back(0);
        return *this;
    }
    std::vector<uint8_t> done() {
        const size_t n = bytes.size() - 8;
        for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<uint8_t>(n >> (24 - 8 * i));
        return bytes;
    }
};

std::vector<uint8_t> bmhd(int w, int h, int planes, int masking = 0, int compression = 0) {
    std::vector<uint8_t> v(20, 0);
    v[0] = static_cast<uint8_t>(w >> 8), v[1] = static_cast<uint8_t>(w);
    v[2] = static_cast<uint8_t>(h >> 8), v[3] = static_cast<uint8_t>(h);
    v[8] = static_cast<uint8_t>(planes), v[9] = static_cast<uint8_t>(masking);
    v[10] = static_cast<uint8_t>(compression);
    return v;
}

// Uncompressed ILBM rows from pixel indices (top row first), with an all-ones mask plane if asked.
std::vector<uint8_t> planarBody(const std::vector<std::vector<int>>& rows, int planes, bool mask) {
    std::vector<uint8_t> body;
    for (const auto& row : rows) {
        const size_t rowBytes = (row.size() + 15) / 16 * 2;
        for (int p = 0; p < planes + (mask ? 1 : 0); ++p) {
            std::vector<uint8_t> plane(rowBytes, 0);
            for (size_t x = 0; x < row.size(); ++x)
                if (p == planes || ((row[x] >> p) & 1))
                    plane[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
            body.insert(body.end(), plane.begin(), plane.end());
        }
    }
    return body;
}

std::vector<uint8_t> cmapOf(int n, int step) {
    std::vector<uint8_t> v;
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) v.push_back(static_cast<uint8_t>((i * step + k * 3) & 0xFF));
    return v;
}

TEST(IffCodec, ExtraHalfBriteAddsTheHalvedColours) {
    const std::vector<uint8_t> file = Form("ILBM")
                                          .chunk("BMHD", bmhd(2, 1, 6))
                                          .chunk("CMAP", cmapOf(32, 7))
                                          .chunk("CAMG", {0, 0, 0, 0x80})
                                          .chunk("BODY", planarBody({{3, 35}}, 6, false))
                                          .done();
    pr::ImageBuffer b;
    ASSERT_TRUE(decodeBytes(pr::iffCodec(), file, b).ok());
    EXPECT_EQ(b.bitCount(), 8);
    EXPECT_EQ(getpixel(b, 1, 0), 35u);
    const Rgb rgb = toRgb(b);
    EXPECT_EQ(rgb.at(0, 0), 0x1B1815u);  // colour 3: 21, 24, 27
    EXPECT_EQ(rgb.at(1, 0), 0x0D0C0Au);  // halved
}

TEST(IffCodec, HamRowsStartFromColourZeroAndChangeOneComponentAtATime) {
    // HAM6: control bits 01 = blue, 10 = red, 11 = green, 00 = base colour.
    const std::vector<uint8_t> file =
        Form("ILBM")
            .chunk("BMHD", bmhd(5, 2, 6))
            .chunk("CMAP", cmapOf(16, 16))
            .chunk("CAMG", {0, 0, 0x08, 0})
            .chunk("BODY",
                   planarBody({{0x1F, 0x25, 0x30, 0x02, 0x3F}, {0x2F, 0, 0, 0, 0}}, 6, false))
            .done();
    pr::ImageBuffer b;
    ASSERT_TRUE(decodeBytes(pr::iffCodec(), file, b).ok());
    ASSERT_EQ(b.bitCount(), 24);
    const Rgb rgb = toRgb(b);
    EXPECT_EQ(rgb.at(0, 0), 0xFF0300u);  // colour 0 (0, 3, 6) with blue 15 -> 255
    EXPECT_EQ(rgb.at(1, 0), 0xFF0355u);  // red 5 -> 0x55
    EXPECT_EQ(rgb.at(2, 0), 0xFF0055u);  // green 0
    EXPECT_EQ(rgb.at(3, 0), 0x262320u);  // base colour 2 (32, 35, 38)
    EXPECT_EQ(rgb.at(4, 0), 0x26FF20u);  // green 15
    EXPECT_EQ(rgb.at(0, 1), 0x0603FFu);  // the next row starts again from colour 0
}

TEST(IffCodec, MaskPlaneIsReadPastAndDropped) {
    const std::vector<std::vector<int>> rows = {{0, 1, 2, 3, 3}, {3, 2, 1, 0, 1}};
    const std::vector<uint8_t> file = Form("ILBM")
                                          .chunk("BMHD", bmhd(5, 2, 2, 1))
                                          .chunk("CMAP", cmapOf(4, 60))
                                          .chunk("BODY", planarBody(rows, 2, true))
                                          .done();
    pr::ImageBuffer b;
    ASSERT_TRUE(decodeBytes(pr::iffCodec(), file, b).ok());
    ASSERT_EQ(b.bitCount(), 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(getpixel(b, x, y), static_cast<uint32_t>(rows[y][x])) << x << "," << y;
}

TEST(IffCodec, ChunkyPbmWithARunAcrossRows) {
    // 3 x 2, rows padded to 4 bytes: one run of 6 bytes of 9, then a literal 7, 8.
    const std::vector<uint8_t> file = Form("PBM ")
                                          .chunk("BMHD", bmhd(3, 2, 8, 0, 1))
                                          .chunk("CMAP", cmapOf(16, 16))
                                          .chunk("BODY", {0xFB, 9, 0x01, 7, 8})
                                          .done();
    pr::ImageBuffer b;
    ASSERT_TRUE(decodeBytes(pr::iffCodec(), file, b).ok());
    ASSERT_EQ(b.bitCount(), 8);
    EXPECT_EQ(getpixel(b, 2, 0), 9u);
    EXPECT_EQ(getpixel(b, 1, 1), 9u);
    EXPECT_EQ(getpixel(b, 2, 1), 7u);
}

TEST(IffCodec, OddChunksArePaddedAndAMissingCmapGivesGrey) {
    const std::vector<uint8_t> file = Form("ILBM")
                                          .chunk("ANNO", {'a', 'b', 'c'})
                                          .chunk("BMHD", bmhd(2, 1, 2))
                                          .chunk("BODY", planarBody({{0, 3}}, 2, false))
                                          .done();
    pr::ImageBuffer b;
    ASSERT_TRUE(decodeBytes(pr::iffCodec(), file, b).ok());
    const Rgb rgb = toRgb(b);
    EXPECT_EQ(rgb.at(0, 0), 0u);
    EXPECT_EQ(rgb.at(1, 0), 0xFFFFFFu);
}

TEST(IffCodec, TruncatedBodyKeepsTheDecodedRowsAndWhitensTheRest) {
    TempDir dir;
    const Rgb source = paletteFixture(37, 23, 16);
    ASSERT_TRUE(writePpm(dir.file("in.ppm"), source));
    ASSERT_TRUE(run("ppmtoilbm -quiet '" + dir.file("in.ppm") + "' > '" + dir.file("o.iff") + "'"));
    std::vector<uint8_t> bytes = readAll(dir.file("o.iff"));
    bytes.resize(bytes.size() * 2 / 3);
    pr::ImageBuffer b;
    const pr::DecodeResult r = decodeBytes(pr::iffCodec(), bytes, b);
    ASSERT_TRUE(r.ok());
    EXPECT_FALSE(r.detail.empty());
    const Rgb got = toRgb(b);
    uint32_t white = 0;
    int best = -1;
    for (int i = 0; i < 16; ++i) {  // no white in this palette: the lightest colour stands in
        const pr::RgbQuad& q = b.info->colors[i];
        if (q.red + q.green + q.blue > best)
            best = q.red + q.green + q.blue, white = q.red | (q.green << 8) | (q.blue << 16);
    }
    for (int x = 0; x < 37; ++x) {
        EXPECT_EQ(got.at(x, 0), source.at(x, 0));
        EXPECT_EQ(got.at(x, 22), white);
    }
}

TEST(IffCodec, BrokenStructureIsRefused) {
    pr::ImageBuffer b;
    const std::vector<uint8_t> body = planarBody({{1, 0}}, 1, false);
    EXPECT_EQ(decodeBytes(pr::iffCodec(), Form("ILBM").chunk("BODY", body).done(), b).error,
              pr::ImageError::Damaged);
    EXPECT_EQ(
        decodeBytes(pr::iffCodec(), Form("ILBM").chunk("BMHD", bmhd(2, 1, 1)).done(), b).error,
        pr::ImageError::Damaged);
    EXPECT_EQ(decodeBytes(pr::iffCodec(),
                          Form("ILBM").chunk("BMHD", {0, 2, 0, 1}).chunk("BODY", body).done(), b)
                  .error,
              pr::ImageError::Damaged);
    EXPECT_EQ(
        decodeBytes(pr::iffCodec(),
                    Form("ILBM").chunk("BMHD", bmhd(65535, 65535, 8)).chunk("BODY", body).done(), b)
            .error,
        pr::ImageError::TooLarge);
    EXPECT_EQ(decodeBytes(pr::iffCodec(),
                          Form("ILBM")
                              .chunk("BMHD", bmhd(20000, 10000, 24, 0, 1))
                              .chunk("BODY", {0x81, 0})
                              .done(),
                          b)
                  .error,
              pr::ImageError::Damaged);
    EXPECT_EQ(
        decodeBytes(pr::iffCodec(),
                    Form("ILBM").chunk("BMHD", bmhd(2, 1, 1, 0, 2)).chunk("BODY", body).done(), b)
            .error,
        pr::ImageError::Unsupported);
    EXPECT_FALSE(b.valid());
    // A BMHD whose length runs far past the end of the file.
    std::vector<uint8_t> lying =
        Form("ILBM").chunk("BMHD", bmhd(2, 1, 1)).chunk("BODY", body).done();
    lying[16] = 0x7F;
    EXPECT_EQ(decodeBytes(pr::iffCodec(), lying, b).error, pr::ImageError::Damaged);
}

TEST(IffCodec, SnifferWantsAnIlbmOrPbmForm) {
    auto sniff = [](const std::vector<uint8_t>& v) {
        return pr::iffCodec().sniff(v.data(), v.size());
    };
    EXPECT_TRUE(sniff(Form("ILBM").done()));
    EXPECT_TRUE(sniff(Form("PBM ").done()));
    EXPECT_FALSE(sniff(Form("AIFF").done()));
    EXPECT_FALSE(sniff(Form("8SVX").done()));
    EXPECT_FALSE(sniff({'F', 'O', 'R', 'M'}));
}

TEST(IffCodec, DamagedFilesGiveAnAnswerNeverACrash) {
    TempDir dir;
    ASSERT_TRUE(writePpm(dir.file("a.ppm"), paletteFixture(13, 5, 20)));
    ASSERT_TRUE(writePpm(dir.file("b.ppm"), patternPicture(9, 4)));
    ASSERT_TRUE(run("ppmtoilbm -quiet '" + dir.file("a.ppm") + "' > '" + dir.file("a.iff") + "'"));
    ASSERT_TRUE(
        run("ppmtoilbm -quiet -ham6 '" + dir.file("b.ppm") + "' > '" + dir.file("b.iff") + "'"));
    feedDamagedVariants(pr::iffCodec(), readAll(dir.file("a.iff")));
    feedDamagedVariants(pr::iffCodec(), readAll(dir.file("b.iff")));
}

}  // namespace
