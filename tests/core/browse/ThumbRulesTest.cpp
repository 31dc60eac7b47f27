#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

#include "TestSupport.h"
#include "browse/ExtensionTable.h"
#include "browse/FileCheck.h"
#include "browse/ThumbInfo.h"
#include "browse/ThumbStatusText.h"
#include "browse/ThumbnailSize.h"

using namespace pr;

struct ExtensionCase {
    const char* name;
    int code;
};

class ExtensionTable : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ExtensionTable, GivesTheFormatCode) {
    EXPECT_EQ(formatCodeForFileName(GetParam().name), GetParam().code) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ExtensionTable,
    ::testing::Values(ExtensionCase{"a.bmp", 3}, ExtensionCase{"a.DIB", 4}, ExtensionCase{"a.gif", 5},
                      ExtensionCase{"a.iff", 6}, ExtensionCase{"a.jif", 7}, ExtensionCase{"a.jpg", 8},
                      ExtensionCase{"a.lbm", 9}, ExtensionCase{"a.pcx", 10}, ExtensionCase{"a.rle", 11},
                      ExtensionCase{"a.tga", 12}, ExtensionCase{"a.tif", 13}, ExtensionCase{"a.png", 14},
                      ExtensionCase{"Urlaub.JpG", 8}, ExtensionCase{"x.tar.Png", 14},
                      ExtensionCase{"a.jpeg", 0}, ExtensionCase{"a.tiff", 0}, ExtensionCase{"JPG", 0},
                      ExtensionCase{"bild", 0}, ExtensionCase{"bild.", 0}, ExtensionCase{"a.jpg ", 0},
                      ExtensionCase{"a.txt", 0}, ExtensionCase{"", 0}));

TEST(ThumbnailSize, FollowsTheLongerSide) {
    struct Case {
        int w, h;
        std::optional<std::pair<int, int>> thumb;
    };
    const Case cases[] = {
        {100, 50, std::make_pair(80, 40)},  {50, 100, std::make_pair(40, 80)},
        {2, 2, std::make_pair(80, 80)},     {1, 200, std::nullopt},
        {200, 1, std::nullopt},             {0, 0, std::nullopt},
        {-5, 10, std::nullopt},             {1000, 2, std::nullopt},  // 2 x 80 div 1000 = 0
        {2, 1000, std::nullopt},            {3, 2, std::make_pair(80, 53)},
        {131072, 131072, std::make_pair(80, 80)}, {131072, 2000, std::make_pair(80, 1)}, {131072, 1000, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<ThumbnailSize> size = thumbnailSizeFor(c.w, c.h);
        ASSERT_EQ(size.has_value(), c.thumb.has_value()) << c.w << " x " << c.h;
        if (size) {
            EXPECT_EQ(size->width, c.thumb->first) << c.w << " x " << c.h;
            EXPECT_EQ(size->height, c.thumb->second) << c.w << " x " << c.h;
        }
    }
}

TEST(ThumbInfo, ColourCountAndKilobytesForEveryDepth) {
    EXPECT_EQ(makeThumbInfo(1, 80, 80, 10, 10, 4096, 0).colorCount, 2);
    const ThumbInfo big = makeThumbInfo(24, 80, 60, 1600, 1200, 5760000, 7);
    EXPECT_EQ(big.colorCount, 16777216);
    EXPECT_EQ(big.kiloBytes, 5625);
    EXPECT_EQ(makeThumbInfo(24, 80, 60, 1, 1, 1023, 0).kiloBytes, 0);
}

TEST(ThumbInfo, StoresEightLittleEndianFields) {
    const ThumbInfo info{24, 80, 60, 1600, 1200, 16777216, 5625, -2};
    uint8_t bytes[kThumbInfoBytes];
    storeThumbInfo(info, bytes);
    const uint8_t expected[kThumbInfoBytes] = {24, 0, 0, 0, 80, 0, 0, 0, 60, 0, 0, 0,
                                               0x40, 6, 0, 0, 0xB0, 4, 0, 0, 0, 0, 0, 1,
                                               0xF9, 0x15, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 32), std::vector<uint8_t>(expected, expected + 32));
    const ThumbInfo back = loadThumbInfo(bytes);
    EXPECT_EQ(back.pictureWidth, 1600);
    EXPECT_EQ(back.check, -2);
    EXPECT_EQ(back.colorCount, 16777216);
}

TEST(ThumbStatusText, TheTextsExactly) {
    std::vector<ThumbInfo> infos(12);
    infos[2] = makeThumbInfo(24, 80, 60, 1600, 1200, 1600u * 1200u * 3u, 1);
    EXPECT_EQ(thumbStatusText(infos, 3), "Thumbnail: 1600 x 1200 x 16777216 - 5625 KByte  (3 von 12)");
    EXPECT_EQ(thumbStatusText({}, 1), "Bild: keins   ");
    EXPECT_EQ(thumbStatusText(std::vector<ThumbInfo>(3), 5), "Bild: keins   ");
    EXPECT_EQ(thumbStatusText(std::vector<ThumbInfo>(3), 4), "Bild: keins   ");
    EXPECT_EQ(thumbStatusText(std::vector<ThumbInfo>(3), 0), "Bild: keins   ");
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
    EXPECT_NE(fileCheckFor(0, 0, 0), 0);
    EXPECT_NE(fileCheckFor(100, 5, 0), fileCheckFor(100, 6, 0));
    EXPECT_NE(fileCheckFor(100, 5, 0), fileCheckFor(101, 5, 0));
}
