#include <gtest/gtest.h>

#include <fnmatch.h>

#include <set>

#include "TestSupport.h"
#include "core/imaging/RasterLibrary.h"

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
