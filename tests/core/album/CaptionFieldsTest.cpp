#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/album/CaptionFields.h"

using namespace pr;

namespace {

TEST(CaptionFields, ReplacesEveryFieldAndLeavesTheRest) {
    const CaptionFieldValues v{"14.07.2023", "Strand.jpg", 12};
    const std::pair<const char*, const char*> cases[] = {
        {"{Datum}", "14.07.2023"},
        {"Nr. {Nr}: {Dateiname} ({Datum})", "Nr. 12: Strand.jpg (14.07.2023)"},
        {"{Nr}{Nr}", "1212"},
        {"{nr} {Datum {Nr", "{nr} {Datum {Nr"},  // other spellings and halves stay
        {"{{Nr}}", "{12}"},
        {"ohne Felder", "ohne Felder"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(expandCaptionFields(c.first, v), c.second) << c.first;
    // A value is not searched again for fields.
    EXPECT_EQ(expandCaptionFields("{Dateiname}", {"", "{Nr}.jpg", 3}), "{Nr}.jpg");
    EXPECT_EQ(expandCaptionFields("am {Datum}", {"", "a.jpg", 1}), "am ");
}

TEST(CaptionFields, ValuesComeFromTheAlbumAndTheFile) {
    testsupport::TempDir dir;
    const std::string dated = dir.file("dated.jpg");
    ASSERT_TRUE(testsupport::run(std::string(testsupport::kConvert) + " -size 8x8 xc:red " + dated +
                                 " && exiftool -q -overwrite_original "
                                 "'-DateTimeOriginal=2020:02:29 08:00:00' " +
                                 dated));
    Album album;
    ImageBuffer b;
    ASSERT_TRUE(newdib(b, 8, 8, 24));
    album.addPicture("C:\\Fotos\\alt.jpg", b);  // from an album written on Windows
    const int32_t key = album.addPicture(dated, b);
    PictureFactsCache facts;
    EXPECT_EQ(shownCaption(album, key, "{Nr}. {Dateiname}, {Datum}", facts),
              "2. dated.jpg, 29.02.2020");
    EXPECT_EQ(shownCaption(album, album.Pictures[0].Key, "{Dateiname}{Datum}", facts), "alt.jpg");
    // Another place in the list is another number; the stored text is untouched.
    std::swap(album.Pictures[0], album.Pictures[1]);
    EXPECT_EQ(shownCaption(album, key, "{Nr}", facts), "1");
    EXPECT_EQ(shownCaption(album, key + 100, "{Nr}", facts), "{Nr}");  // no such picture
}

}  // namespace
