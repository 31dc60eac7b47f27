#include <gtest/gtest.h>

#include <fnmatch.h>

#include <set>

#include "NonRegularFiles.h"
#include "TestSupport.h"
#include "core/imaging/RasterLibrary.h"
#include "core/io/ByteWriter.h"

using namespace pr;
using namespace testsupport;

namespace {

// ImageMagick's worker threads only fight over the cores with the other test programs.
const bool kQuietMagick = setenv("MAGICK_THREAD_LIMIT", "1", 1) == 0;

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> parts(1);
    for (char c : s) c == sep ? parts.emplace_back() : parts.back() += c;
    return parts;
}

TEST(OpenDib, ContentDecidesNotTheName) {
    TempDir dir;
    const Rgb src = patternPicture(300, 200);
    ASSERT_TRUE(writePpm(dir.file("src.ppm"), src));
    ASSERT_TRUE(run("pnmtopng -force " + dir.file("src.ppm") + " > " + dir.file("really-png.jpg")));
    ASSERT_TRUE(run("cjpeg -outfile " + dir.file("really-jpeg.bmp") + " " + dir.file("src.ppm")));
    for (int code : {int(kFormatJpg), int(kFormatAuto), int(kFormatTga), 99}) {
        ImageBuffer img;
        ASSERT_TRUE(OpenDib(img, dir.file("really-png.jpg"), code)) << img.message;
        EXPECT_EQ(getpixel(img, 5, 7), src.at(5, 7));
        EXPECT_TRUE(img.message.empty());
    }
    ImageBuffer img;
    EXPECT_TRUE(OpenDib(img, dir.file("really-jpeg.bmp"), kFormatBmp)) << img.message;
    EXPECT_EQ(img.width(), 300);
    // A reduced open of a format without scaling gives the whole picture.
    const DecodeResult r = OpenDibReduced(img, dir.file("really-png.jpg"), 80, 80);
    ASSERT_TRUE(r.ok()) << img.message;
    EXPECT_EQ(img.width(), 300);
    EXPECT_EQ(r.trueWidth * 1000 + r.trueHeight, 300200);
    EXPECT_EQ(r.trueBitCount, 24);
}

TEST(OpenDib, FailuresLeaveNoPictureAndAGermanMessage) {
    TempDir dir;
    ASSERT_TRUE(writeAll(dir.file("empty.png"), {}));
    ASSERT_TRUE(writeAll(dir.file("text.bmp"), {'h', 'e', 'l', 'l', 'o', '\n'}));
    const std::pair<std::string, const char*> cases[] = {
        // path, start of the message
        {dir.file("missing.jpg"), "Die Datei kann nicht"},
        {dir.path().string(), "Die Datei kann nicht"},  // a folder
        {dir.file("empty.png"), "Unbekanntes Bildformat"},
        {dir.file("text.bmp"), "Unbekanntes Bildformat"},
    };
    for (const auto& [path, start] : cases) {
        ImageBuffer img;
        ASSERT_TRUE(newdib(img, 4, 4, 24));
        int progress = -1;
        EXPECT_FALSE(OpenDib(img, path, kFormatAuto, [&](int p) { progress = p; })) << path;
        EXPECT_EQ(img.bits, nullptr);
        EXPECT_EQ(img.info, nullptr);
        EXPECT_EQ(img.message.rfind(start, 0), 0u) << img.message;
        EXPECT_EQ(progress, 0);
    }
}

// The 54 bytes before the pixels of a bitmap of 24 bits.
std::vector<uint8_t> bmpHead(int32_t width, int32_t height) {
    ByteWriter b;
    b.bytes("BM", 2).u32(0).u32(0).u32(54);
    b.u32(40).i32(width).i32(height).u16(1).u16(24).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
    return b.take();
}

// A FIFO or a device in the place of a picture is refused before a byte is read, and without
// waiting for a writer (adding and opening read pictures on worker threads that would hang).
TEST(OpenDib, SpecialFilesAreRefusedWithoutWaiting) {
    TempDir dir;
    ASSERT_TRUE(makeFifo(dir.file("fifo.jpg")));
    for (const std::string& path : {dir.file("fifo.jpg"), std::string("/dev/zero")}) {
        ImageBuffer img;
        bool opened = true;
        EXPECT_TRUE(finishesWithoutAWriter(path, [&] { opened = OpenDib(img, path, kFormatAuto); }))
            << path;
        EXPECT_FALSE(opened) << path;
        EXPECT_EQ(img.message, "Die Datei kann nicht geöffnet werden.") << path;
    }
}

// Large files are judged by their first bytes: what no reader recognises, or what announces a
// picture beyond the caps, costs no more than those; a picture whose data ends long before the
// file does is read only as far as its data goes.
TEST(OpenDib, LargeFilesAreReadOnlyAsFarAsTheirPictureNeeds) {
    TempDir dir;
    constexpr uint64_t kGiB = uint64_t{1} << 30;
    std::vector<uint8_t> small = bmpHead(100, 100);
    small.resize(small.size() + 100 * 300, 0x40);
    const struct {
        const char* what;
        std::vector<uint8_t> head;
        uint64_t size;
        const char* message;  // empty: the picture opens
    } cases[] = {
        {"nothing but a hole", {}, kGiB, "Unbekanntes Bildformat."},
        {"announces 30000 x 30000", bmpHead(30000, 30000), kGiB, "Das Bild ist zu groß."},
        {"a small picture, then a hole", small, kGiB, ""},
        {"beyond any picture file", small, 2 * kGiB, "Das Bild ist zu groß."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!makeSparseFile(dir.file("big.bmp"), c.head, c.size))
            GTEST_SKIP() << "no sparse files of a gigabyte here";
        ImageBuffer img;
        bool opened = false;
        const uint64_t read =
            bytesReadBy([&] { opened = OpenDib(img, dir.file("big.bmp"), kFormatAuto); });
        EXPECT_LT(read, uint64_t{1} << 20);
        EXPECT_EQ(opened, *c.message == 0);
        EXPECT_EQ(img.message, c.message);
        if (opened) {
            EXPECT_EQ(getpixel(img, 99, 99), 0x404040u);
        }
    }
}

// What libjpeg and libpng say about a broken file is English; the user reads the German text only.
TEST(OpenDib, DamagedJpegAndPngGetGermanWordsOnly) {
    TempDir dir;
    const std::vector<uint8_t> pngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> badCrc = pngSignature;
    const std::vector<uint8_t> ihdr = {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 8, 0,
                                       0, 0, 8, 8,  2,   0,   0,   0,   1, 2, 3, 4};
    badCrc.insert(badCrc.end(), ihdr.begin(), ihdr.end());
    std::vector<uint8_t> cutPng = badCrc;
    cutPng.resize(20);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* message;
    } cases[] = {
        {"header.jpg",
         {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02, 0xFF, 0x12, 'x', 'y'},
         "Die Bilddatei ist beschädigt."},
        {"crc.png", badCrc, "Die Bilddatei ist beschädigt (PNG-Kopf)."},
        {"cut.png", cutPng, "Die Bilddatei ist beschädigt (PNG-Kopf)."},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(writeAll(dir.file(c.name), c.bytes));
        ImageBuffer img;
        EXPECT_FALSE(OpenDib(img, dir.file(c.name), kFormatAuto));
        EXPECT_EQ(img.message, c.message) << c.name;
    }
}

TEST(GetDIBOpenFilter, EveryExtensionMatchesInBothCases) {
    const auto parts = split(GetDIBOpenFilter(), '|');
    ASSERT_EQ(parts.size(), 2u * 17);  // "all pictures" and one pair per format entry
    std::set<std::string> described;
    for (size_t i = 2; i < parts.size(); i += 2) described.insert(parts[i + 1]);
    EXPECT_EQ(described.size(), 16u);
    auto matches = [&](const std::string& masks, const std::string& name) {
        for (const auto& m : split(masks, ';'))
            if (fnmatch(m.c_str(), name.c_str(), 0) == 0) return true;
        return false;
    };
    for (std::string ext : {"bmp", "dib", "gif", "iff", "jif", "jpg", "lbm", "pcx", "rle", "tga",
                            "tif", "png", "heic", "heif", "hif", "avif", "webp", "jxl"}) {
        std::string upper = ext;
        for (char& c : upper) c = char(c - 'a' + 'A');
        EXPECT_TRUE(matches(parts[1], "foto." + ext) && matches(parts[1], "FOTO." + upper)) << ext;
        int own = 0;
        for (size_t i = 2; i < parts.size(); i += 2)
            own += matches(parts[i + 1], "x." + ext) && matches(parts[i + 1], "X." + upper);
        EXPECT_EQ(own, 1) << ext;
    }
    EXPECT_FALSE(matches(parts[1], "notes.txt"));
}

}  // namespace
