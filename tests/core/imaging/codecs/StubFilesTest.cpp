// Files that announce far more picture than they hold: every reader's header is judged by one
// policy before anything of the announced size exists.

#include <gtest/gtest.h>

#include <zlib.h>

#include "CodecTestSupport.h"
#include "core/imaging/codecs/CodecRegistry.h"
#include "core/imaging/codecs/PictureDecoder.h"
#include "core/io/ByteWriter.h"

using namespace pr;
using namespace testsupport;

namespace {

constexpr uint32_t kSide = 16000;  // 768 MB at 24 bits, 256 MB at 8

std::vector<uint8_t> pngChunk(const char* type, const std::vector<uint8_t>& body) {
    ByteWriter c(ByteOrder::Big);
    c.u32(uint32_t(body.size())).bytes(type, 4).bytes(body.data(), body.size());
    c.u32(uint32_t(crc32(0, c.data().data() + 4, uInt(c.size() - 4))));
    return c.take();
}

// 473 bytes: a 16000 x 16000 RGB header and the first few hundred bytes of its deflate stream.
std::vector<uint8_t> stubPng() {
    ByteWriter ihdr(ByteOrder::Big);
    ihdr.u32(kSide).u32(kSide).u8(8).u8(2).u8(0).u8(0).u8(0);
    std::vector<uint8_t> rows(size_t{1} << 20, 0);
    uLongf packedSize = compressBound(uLong(rows.size()));
    std::vector<uint8_t> packed(packedSize);
    compress(packed.data(), &packedSize, rows.data(), uLong(rows.size()));
    packed.resize(473 - 8 - 25 - 12 - 12);
    std::vector<uint8_t> f = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    for (const auto& c :
         {pngChunk("IHDR", ihdr.take()), pngChunk("IDAT", packed), pngChunk("IEND", {})})
        f.insert(f.end(), c.begin(), c.end());
    return f;
}

// A 16000 x 16000 bitmap of 24 bits with one row of pixels: 48 KB.
std::vector<uint8_t> stubBmp() {
    ByteWriter b;
    b.bytes("BM", 2).u32(0).u32(0).u32(54);
    b.u32(40).i32(kSide).i32(kSide).u16(1).u16(24).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
    b.zeros(kSide * 3);
    return b.take();
}

// An uncompressed 16000 x 16000 RGB TIFF in one strip, of which 96 KB are there.
std::vector<uint8_t> stubTiff() {
    struct Entry {
        uint16_t tag, type;
        uint32_t value;
    };
    const Entry entries[] = {{256, 4, kSide}, {257, 4, kSide}, {258, 3, 8},
                             {259, 3, 1},     {262, 3, 2},     {273, 4, 128},
                             {277, 3, 3},     {278, 4, kSide}, {279, 4, kSide * kSide * 3}};
    ByteWriter t;
    t.bytes("II*\0", 4).u32(8).u16(uint16_t(std::size(entries)));
    for (const Entry& e : entries) {
        t.u16(e.tag).u16(e.type).u32(1);
        if (e.type == 3)
            t.u16(uint16_t(e.value)).u16(0);
        else
            t.u32(e.value);
    }
    t.u32(0);
    t.zeros(128 - t.size()).zeros(96000);
    return t.take();
}

// 286 bytes: a 16000 x 16000 screen and frame with a colour table of two and one block of data.
std::vector<uint8_t> stubGif() {
    ByteWriter g;
    g.bytes("GIF89a", 6).u16(uint16_t(kSide)).u16(uint16_t(kSide)).u8(0x80).u8(0).u8(0);
    g.u8(0).u8(0).u8(0).u8(255).u8(255).u8(255);
    g.u8(0x2C).u16(0).u16(0).u16(uint16_t(kSide)).u16(uint16_t(kSide)).u8(0);
    g.u8(2).u8(254);
    for (int i = 0; i < 254; ++i) g.u8(uint8_t(i * 7));
    g.u8(0);
    return g.take();
}

// The 278-byte file fuzzing found: one row of 65535 pixels of 65535 samples each, whose scanline
// of 4 GB libtiff computes without complaint.
std::vector<uint8_t> tiffWithSamples(uint16_t samples, uint16_t bits) {
    struct Entry {
        uint16_t tag, type;
        uint32_t value;
    };
    const Entry entries[] = {{256, 4, 65535},   {257, 4, 1}, {258, 3, bits},
                             {259, 3, 1},       {262, 3, 2}, {273, 4, 122},
                             {277, 3, samples}, {278, 4, 1}, {279, 4, 278 - 122}};
    ByteWriter t;
    t.bytes("II*\0", 4).u32(8).u16(uint16_t(std::size(entries)));
    for (const Entry& e : entries) {
        t.u16(e.tag).u16(e.type).u32(1);
        if (e.type == 3)
            t.u16(uint16_t(e.value)).u16(0);
        else
            t.u32(e.value);
    }
    t.u32(0);
    for (int i = 0; t.size() < 278; ++i) t.u8(uint8_t(i * 37));
    return t.take();
}

struct Stub {
    const char* what;
    std::vector<uint8_t> bytes;
    const Codec& codec;
};

TEST(StubFiles, TinyFilesAnnouncingHugePicturesAreRefusedAtTheirHeader) {
    const Stub stubs[] = {{"473-byte PNG", stubPng(), pngCodec()},
                          {"48 KB BMP", stubBmp(), bmpCodec()},
                          {"96 KB TIFF", stubTiff(), tiffCodec()},
                          {"286-byte GIF", stubGif(), gifCodec()}};
    TempDir dir;
    for (const Stub& s : stubs) {
        SCOPED_TRACE(s.what);
        ASSERT_EQ(findCodec(s.bytes.data(), s.bytes.size()), &s.codec);
        // The header alone decides, so the reader never gets to allocate the picture.
        PictureHeader header;
        ASSERT_TRUE(s.codec.header(s.bytes.data(), s.bytes.size(), header).ok());
        EXPECT_EQ(header.width * 100000 + header.height, int64_t{kSide} * 100000 + kSide);
        const DecodeResult admitted = admitPicture(header, DecodeOptions{});
        EXPECT_EQ(admitted.error, ImageError::Damaged);
        EXPECT_EQ(admitted.detail, "zu wenig Bilddaten");

        ImageBuffer img;
        ASSERT_TRUE(writeAll(dir.file("stub"), s.bytes));
        EXPECT_FALSE(OpenDib(img, dir.file("stub"), kFormatAuto));
        EXPECT_FALSE(img.valid());
        EXPECT_EQ(img.message, "Die Bilddatei ist beschädigt (zu wenig Bilddaten).");
        // Asked to take any file, the same stub decodes to the rows it has and white below.
        DecodeOptions anyShare;
        anyShare.minShareOfRows = 0;
        EXPECT_TRUE(admitPicture(header, anyShare).ok());
    }
}

// Today's photo codings code flat areas in next to nothing, so their files are judged at a
// density no photo reaches: a flat 12-MP picture in 300 bytes is taken, the 720-byte AVIF that
// fuzzing found announcing 6144 x 16656 pixels (4 s and 900 MB to decode) is not.
TEST(StubFiles, TodaysPhotoCodingsAreJudgedAtADensityNoPhotoReaches) {
    const struct {
        uint64_t bytes;
        int64_t width, height;
        bool admitted;
    } cases[] = {{300, 4000, 3000, true},
                 {600000, 8000, 6000, true},  // a real 48-MP photo, heavily compressed
                 {720, 6144, 16656, false},
                 {0, 100, 100, false}};
    for (const auto& c : cases) {
        PictureHeader header;
        ASSERT_TRUE(announcedPicture(header, c.width, c.height, 24,
                                     rowsOfCompressedPhoto(c.bytes, c.width, c.height))
                        .ok());
        EXPECT_EQ(admitPicture(header, DecodeOptions{}).ok(), c.admitted) << c.bytes;
    }
}

// A reader added later gets the policy by going through decodeWith: when its header does not
// pass, its decoder is never run.
bool laterReaderDecoded = false;
const Codec& laterReader() {
    static const Codec codec{
        "later", [](const uint8_t*, size_t) { return true; },
        [](const uint8_t*, size_t size, PictureHeader& out) {
            return announcedPicture(out, kSide, kSide, 24, size);  // a row per byte at most
        },
        [](const uint8_t*, size_t, const DecodeOptions&, ImageBuffer& out) {
            laterReaderDecoded = true;
            return newdib(out, int(kSide), int(kSide), 24) ? decodedPicture(kSide, kSide, 24, 1)
                                                           : decodeFailure(ImageError::OutOfMemory);
        }};
    return codec;
}

TEST(StubFiles, AReaderWhoseHeaderFailsThePolicyIsNeverRun) {
    const std::vector<uint8_t> bytes(100, 0);
    ImageBuffer img;
    EXPECT_EQ(decodeWith(laterReader(), bytes.data(), bytes.size(), {}, img).error,
              ImageError::Damaged);
    EXPECT_FALSE(laterReaderDecoded);
    EXPECT_FALSE(img.valid());
}

// Compressed data that could hold the rows passes the header, but when the rows then break off
// before the share, the picture is refused after all; with any share taken, the rows that broke
// off are white.
TEST(StubFiles, RowsBreakingOffBeforeTheShareAreRefusedAndLaterOnesWhitened) {
    TempDir dir;
    const Rgb noise = patternPicture(64, 2000, 3);
    ASSERT_TRUE(writePpm(dir.file("noise.ppm"), noise));
    ASSERT_TRUE(
        run("pnmtopng -compression 0 " + dir.file("noise.ppm") + " > " + dir.file("n.png")));
    std::vector<uint8_t> bytes = readAll(dir.file("n.png"));
    ASSERT_GT(bytes.size(), 64u * 2000 * 3);
    bytes.resize(3000);  // about 15 rows of 2000, less than the hundredth

    ImageBuffer img;
    const DecodeResult refused = decodePicture(bytes.data(), bytes.size(), {}, img);
    EXPECT_EQ(refused.error, ImageError::Damaged);
    EXPECT_EQ(refused.detail, "zu wenig Bilddaten");
    EXPECT_FALSE(img.valid());

    DecodeOptions anyShare;
    anyShare.minShareOfRows = 0;
    const DecodeResult kept = decodePicture(bytes.data(), bytes.size(), anyShare, img);
    ASSERT_TRUE(kept.ok());
    EXPECT_EQ(kept.detail, "unvollständig");
    EXPECT_EQ(img.height(), 2000);
    EXPECT_EQ(getpixel(img, 5, 3), noise.at(5, 3));
    EXPECT_EQ(getpixel(img, 5, 1999), 0xFFFFFFu);
}

// Samples per pixel and bits per sample size libtiff's scanline; absurd ones are refused before
// any buffer of that size is asked for.
TEST(StubFiles, TiffSampleCountsAreCheckedBeforeTheScanlineIsAllocated) {
    const std::pair<std::pair<uint16_t, uint16_t>, ImageError> cases[] = {
        {{65535, 8}, ImageError::Unsupported},
        {{17, 8}, ImageError::Unsupported},
        {{3, 64}, ImageError::Unsupported},
        {{16, 32}, ImageError::None},
        {{3, 8}, ImageError::None},
    };
    for (const auto& [counts, error] : cases) {
        const auto [samples, bits] = counts;
        const std::vector<uint8_t> file = tiffWithSamples(samples, bits);
        PictureHeader header;
        EXPECT_EQ(tiffCodec().header(file.data(), file.size(), header).error, error)
            << samples << " samples of " << bits << " bits";
    }
    const std::vector<uint8_t> found = tiffWithSamples(65535, 8);
    ASSERT_EQ(found.size(), 278u);
    ImageBuffer img;
    DecodeOptions anyShare;
    anyShare.minShareOfRows = 0;
    EXPECT_EQ(decodePicture(found.data(), found.size(), anyShare, img).error,
              ImageError::Unsupported);
    EXPECT_FALSE(img.valid());
}

}  // namespace
