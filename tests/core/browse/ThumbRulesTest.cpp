#include <gtest/gtest.h>

#include <fcntl.h>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/browse/ExtensionTable.h"
#include "core/browse/FileCheck.h"
#include "core/browse/ThumbInfo.h"
#include "core/browse/ThumbStatusText.h"
#include "core/browse/ThumbnailSize.h"

using namespace pr;

TEST(ExtensionTable, GivesTheFormatCode) {
    const std::pair<const char*, int> cases[] = {
        {"a.bmp", 3},   {"a.DIB", 4},      {"a.gif", 5},      {"a.iff", 6},   {"a.jif", 7},
        {"a.jpg", 8},   {"a.lbm", 9},      {"a.pcx", 10},     {"a.rle", 11},  {"a.tga", 12},
        {"a.tif", 13},  {"Urlaub.JpG", 8}, {"x.tar.Png", 14}, {"a.jpeg", 0},  {"a.tiff", 0},
        {"JPG", 0},     {"bild.", 0},      {"a.jpg ", 0},     {"", 0},        {"IMG_0001.HEIC", 15},
        {"a.heif", 15}, {"a.Hif", 15},     {"a.avif", 16},    {"a.webp", 17}, {"a.jxl", 18},
        {"a.heics", 0}, {"a.web", 0}};
    for (const auto& [name, code] : cases) EXPECT_EQ(formatCodeForFileName(name), code) << name;
}

TEST(ThumbnailSize, FollowsTheLongerSide) {
    const int cases[][4] = {// picture w, h -> thumbnail w, h (0 x 0: no cell)
                            {100, 50, 80, 40},   {50, 100, 40, 80},        {2, 2, 80, 80},
                            {1, 200, 0, 0},      {200, 1, 0, 0},           {0, 0, 0, 0},
                            {-5, 10, 0, 0},      {1000, 2, 0, 0},          {2, 1000, 0, 0},
                            {3, 2, 80, 53},      {131072, 131072, 80, 80}, {131072, 2000, 80, 1},
                            {131072, 1000, 0, 0}};
    for (const auto& c : cases) {
        const std::optional<ThumbnailSize> size = thumbnailSizeFor(c[0], c[1]);
        EXPECT_EQ(size ? std::make_pair(size->width, size->height) : std::make_pair(0, 0),
                  std::make_pair(c[2], c[3]))
            << c[0] << " x " << c[1];
    }
}

TEST(ThumbInfo, ColourCountKilobytesAndLittleEndianFields) {
    EXPECT_EQ(makeThumbInfo(1, 80, 80, 10, 10, 4096, 0).colorCount, 2);
    EXPECT_EQ(makeThumbInfo(24, 80, 60, 1, 1, 1023, 0).kiloBytes, 0);
    ThumbInfo info = makeThumbInfo(24, 80, 60, 1600, 1200, 5760000, -2);
    ByteWriter out;
    storeThumbInfo(info, out);
    const std::vector<uint8_t> bytes = out.take();
    const uint8_t expected[kThumbInfoBytes] = {24,   0,    0, 0, 80,   0,    0,    0,   60, 0, 0, 0,
                                               0x40, 6,    0, 0, 0xB0, 4,    0,    0,   0,  0, 0, 1,
                                               0xF9, 0x15, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(bytes, std::vector<uint8_t>(expected, expected + 32));
    ByteReader in(bytes.data(), bytes.size());
    info = loadThumbInfo(in);
    EXPECT_EQ(info.pictureWidth, 1600);
    EXPECT_EQ(info.check, -2);
}

TEST(ThumbStatusText, TheTextsExactly) {
    std::vector<ThumbInfo> infos(12);
    infos[2] = makeThumbInfo(24, 80, 60, 1600, 1200, 1600u * 1200u * 3u, 1);
    EXPECT_EQ(thumbStatusText(infos, 3),
              "Thumbnail: 1600 x 1200 x 16777216 - 5625 KByte  (3 von 12)");
    EXPECT_EQ(thumbStatusText({}, 1), "Bild: keins   ");
    for (int cell : {0, 4, 5})
        EXPECT_EQ(thumbStatusText(std::vector<ThumbInfo>(3), cell), "Bild: keins   ") << cell;
}

TEST(FileCheck, FollowsSizeAndModificationTime) {
    testsupport::TempDir dir;
    const std::string path = dir.file("a.jpg");
    ASSERT_TRUE(testsupport::writeAll(path, {1, 2, 3}));
    const std::optional<int32_t> first = fileCheck(path);
    ASSERT_TRUE(first.has_value());
    EXPECT_NE(*first, 0);
    EXPECT_EQ(fileCheck(path), first);

    // Same size, other content and time: a picture replaced under the same name.
    ASSERT_TRUE(testsupport::writeAll(path, {4, 5, 6}));
    struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_NE(fileCheck(path), first);

    EXPECT_FALSE(fileCheck(dir.file("missing.jpg")).has_value());
    EXPECT_FALSE(fileCheck(dir.path().string()).has_value());
    EXPECT_NE(fileCheckFor(100, 5, 0), fileCheckFor(100, 6, 0));
}
