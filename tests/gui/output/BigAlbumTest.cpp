// Writes a large album for measuring printing from the command line, when PR_BIG_ALBUM_DIR names
// a folder: 10 pages with four 24-megapixel JPEG photos each (PR_BIG_ALBUM_PICTURES distinct
// photos, 40 unless told, used in turn). Otherwise it only checks the layout it would write.
//   PR_BIG_ALBUM_DIR=/tmp/big ./gui_output --gtest_filter=BigAlbum.*
//   /usr/bin/time -v pixo-rahmler --pdf /tmp/big/album.pdf --dpi 300 /tmp/big/album.pxr

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QImageWriter>

#include "album/Album.h"
#include "album/AlbumFileWriter.h"

namespace {

constexpr int kPages = 10;
constexpr int kPerPage = 4;

// A 6000 x 4000 picture of colour ramps and a pattern that differs per picture, so that no two
// pictures (nor their JPEG files) are alike.
QImage photo(int index) {
    QImage image(6000, 4000, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            row[3 * x] = uchar((x / 24 + index * 37) & 0xff);
            row[3 * x + 1] = uchar((y / 16 + ((x ^ y) >> 5)) & 0xff);
            row[3 * x + 2] = uchar(((x + y) / 40 + index * 11) & 0xff);
        }
    }
    return image;
}

}  // namespace

TEST(BigAlbum, FourLargePhotosOnEachOfTenPages) {
    const QString dir = qEnvironmentVariable("PR_BIG_ALBUM_DIR");
    const int distinct = std::clamp(
        qEnvironmentVariableIsSet("PR_BIG_ALBUM_PICTURES")
            ? qEnvironmentVariableIntValue("PR_BIG_ALBUM_PICTURES")
            : kPages * kPerPage,
        1, kPages * kPerPage);
    pr::Album album;
    pr::ImageBuffer stand;  // the album file keeps paths only; the pixels stay on disk
    ASSERT_TRUE(pr::newdib(stand, 1, 1, 24));
    std::vector<int32_t> keys;
    for (int i = 0; i < distinct; ++i) {
        const QString path = QDir(dir.isEmpty() ? QDir::tempPath() : dir)
                                 .filePath(QStringLiteral("foto%1.jpg").arg(i + 1, 2, 10, QLatin1Char('0')));
        if (!dir.isEmpty()) {
            QImageWriter writer(path, "jpeg");
            writer.setQuality(90);
            ASSERT_TRUE(writer.write(photo(i))) << writer.errorString().toStdString();
        }
        keys.push_back(album.addPicture(path.toStdString(), stand));
    }
    for (int i = 0; i < kPages * kPerPage; ++i) {  // a 2 x 2 grid of 3.6 x 4.9 inch frames
        auto* p = reinterpret_cast<pr::Placement*>(album.Placements.Append());
        ASSERT_NE(p, nullptr);
        *p = pr::Placement{0.2 + (i % 2) * 3.8, 0.2 + (i / 2 % 2) * 5.2, 3.6, 4.9,
                           i / kPerPage + 1, keys[size_t(i % distinct)], 0, {}};
    }
    EXPECT_EQ(album.placementCount(), uint32_t(kPages * kPerPage));
    if (!dir.isEmpty()) {
        const pr::AlbumSaveResult r =
            pr::saveAlbumFile(QDir(dir).filePath(QStringLiteral("album.pxr")).toStdString(), album, {});
        EXPECT_TRUE(r.ok) << r.message;
    }
    album.DelallPics();
}
