#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/imaging/ExifDate.h"
#include "core/imaging/PictureFacts.h"

using namespace pr;

namespace {

// A TIFF structure whose first directory points (0x8769) to an EXIF directory holding
// DateTimeOriginal (0x9003) with `date` (19 characters and a terminator).
std::vector<uint8_t> tiffWithDate(bool little, const std::string& date, bool inFirst = false) {
    std::vector<uint8_t> b = {uint8_t(little ? 'I' : 'M'), uint8_t(little ? 'I' : 'M')};
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(uint8_t(little ? v >> (8 * i) : v >> (8 * (bytes - 1 - i))));
    };
    const uint32_t count = static_cast<uint32_t>(date.size() + 1);
    put(42, 2), put(8, 4);
    if (inFirst) {
        // first directory at 8: one entry, next-directory 0, then the text at 26.
        put(1, 2), put(0x9003, 2), put(2, 2), put(count, 4), put(26, 4), put(0, 4);
    } else {
        // first directory at 8 (one entry) -> EXIF directory at 26 (one entry) -> text at 44.
        put(1, 2), put(0x8769, 2), put(4, 2), put(1, 4), put(26, 4), put(0, 4);
        put(1, 2), put(0x9003, 2), put(2, 2), put(count, 4), put(44, 4), put(0, 4);
    }
    for (char c : date) b.push_back(uint8_t(c));
    b.push_back(0);
    return b;
}

TEST(ExifDate, ReadsDateTimeOriginalInBothByteOrders) {
    for (bool little : {true, false}) {
        EXPECT_EQ(exifDateFromTiff(tiffWithDate(little, "2023:07:14 09:30:00").data(),
                                   tiffWithDate(little, "2023:07:14 09:30:00").size()),
                  "14.07.2023");
        const auto first = tiffWithDate(little, "1999:12:31 23:59:59", true);
        EXPECT_EQ(exifDateFromTiff(first.data(), first.size()), "31.12.1999");
    }
}

TEST(ExifDate, AnythingThatIsNoDateGivesNoDate) {
    const auto good = tiffWithDate(true, "2023:07:14 09:30:00");
    auto badOffset = good, badOrder = good, pointsToItself = good, hugeCount = good;
    badOffset[37] = 0xF0;                      // the text's offset runs past the end
    badOrder[0] = 'X';                         // no TIFF byte order
    pointsToItself[18] = 8;                    // the EXIF directory is the first one again
    hugeCount[8] = 0xFF, hugeCount[9] = 0xFF;  // 65535 entries announced
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"blank date", tiffWithDate(true, "    :  :     :  :  ")},
        {"zeros", tiffWithDate(true, "0000:00:00 00:00:00")},
        {"month 13", tiffWithDate(true, "2023:13:01 00:00:00")},
        {"too short", tiffWithDate(true, "2023:07")},
        {"offset past the end", badOffset},
        {"no byte order", badOrder},
        {"directory loop", pointsToItself},
        {"entry count beyond the data", hugeCount},
        {"truncated", std::vector<uint8_t>(good.begin(), good.begin() + 40)},
        {"empty", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exifDateFromTiff(c.second.data(), c.second.size()), "") << c.first;
}

TEST(ExifDate, FindsTheSegmentOfAJpegAndTheChunkOfAPng) {
    const auto tiff = tiffWithDate(false, "2021:02:03 04:05:06");
    // SOI, an APP0, the APP1 "Exif\0\0" + TIFF, then SOS.
    std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xE1};
    const size_t length = 2 + 6 + tiff.size();
    jpeg.push_back(uint8_t(length >> 8)), jpeg.push_back(uint8_t(length));
    for (char c : std::string("Exif\0\0", 6)) jpeg.push_back(uint8_t(c));
    jpeg.insert(jpeg.end(), tiff.begin(), tiff.end());
    jpeg.insert(jpeg.end(), {0xFF, 0xDA, 0, 2});
    EXPECT_EQ(exifDateOfFile(jpeg.data(), jpeg.size()), "03.02.2021");
    // A segment length that runs past the end gives nothing instead of reading beyond it.
    auto cut = jpeg;
    cut.resize(20);
    EXPECT_EQ(exifDateOfFile(cut.data(), cut.size()), "");

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const uint32_t n = static_cast<uint32_t>(tiff.size());
    png.insert(png.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
    png.insert(png.end(), {'e', 'X', 'I', 'f'});
    png.insert(png.end(), tiff.begin(), tiff.end());
    png.insert(png.end(), {0, 0, 0, 0});  // CRC, not checked
    EXPECT_EQ(exifDateOfFile(png.data(), png.size()), "03.02.2021");
}

// A JPEG from ImageMagick, dated by exiftool: two independent writers of the EXIF structure.
TEST(PictureFacts, SizeAndDateOfAFileFromIndependentTools) {
    testsupport::TempDir dir;
    const std::string path = dir.file("dated.jpg");
    ASSERT_TRUE(
        testsupport::run(std::string(testsupport::kConvert) + " -size 40x30 xc:red " + path));
    const PictureFacts undated = readPictureFacts(path);
    EXPECT_TRUE(undated.sizeKnown);
    EXPECT_EQ(undated.width, 40);
    EXPECT_EQ(undated.height, 30);
    EXPECT_EQ(undated.dateTaken, "");
    ASSERT_TRUE(
        testsupport::run("exiftool -q -overwrite_original "
                         "'-DateTimeOriginal=2019:08:17 12:00:00' " +
                         path));
    EXPECT_EQ(readPictureFacts(path).dateTaken, "17.08.2019");
    EXPECT_FALSE(readPictureFacts(dir.file("missing.jpg")).sizeKnown);
}

}  // namespace
