#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "core/imaging/PictureSource.h"

namespace {

// A JPEG whose header is sound but whose data is nothing but fill bytes: larger than the part of a
// file its header is judged from, so only decoding finds out.
QByteArray emptyDataJpeg() {
    QImage photo(640, 480, QImage::Format_RGB32);
    photo.fill(qRgb(40, 90, 160));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    photo.save(&buffer, "JPG", 90);
    const int sos = int(bytes.indexOf(QByteArray("\xFF\xDA", 2)));
    if (sos < 0) return {};
    const int length = (uint8_t(bytes[sos + 2]) << 8) | uint8_t(bytes[sos + 3]);
    return bytes.left(sos + 2 + length) + QByteArray(400 * 1024, char(0xFF));
}

// Opening an album and adding pictures in the window decode every JPEG at its thumbnail's size,
// so a file damaged beyond its header is named at once with its reason, as when every picture was
// decoded whole; printing from the command line judges the header only.
TEST(PictureInspection, WithThumbnailsAFileDamagedBeyondItsHeaderIsRefusedAtOnce) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray damaged = emptyDataJpeg();
    ASSERT_FALSE(damaged.isEmpty());
    const std::string path = dir.filePath(QStringLiteral("kaputt.jpg")).toStdString();
    {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(damaged);
    }
    const pr::PictureInspection headerOnly = pr::inspectPictureFile(path, false);
    EXPECT_TRUE(headerOnly.ok);
    ASSERT_TRUE(headerOnly.source);
    EXPECT_EQ(headerOnly.source->width(), 640);
    EXPECT_FALSE(headerOnly.source->hasThumbnail());

    const pr::PictureInspection decoded = pr::inspectPictureFile(path, true);
    EXPECT_FALSE(decoded.ok);
    EXPECT_FALSE(decoded.source);
    EXPECT_FALSE(decoded.message.empty());

    // A sound one gets its thumbnail now.
    const std::string sound = dir.filePath(QStringLiteral("gut.jpg")).toStdString();
    QImage photo(640, 480, QImage::Format_RGB32);
    photo.fill(qRgb(40, 90, 160));
    ASSERT_TRUE(photo.save(QString::fromStdString(sound), "JPG", 90));
    const pr::PictureInspection good = pr::inspectPictureFile(sound, true);
    ASSERT_TRUE(good.ok);
    EXPECT_TRUE(good.source->hasThumbnail());
    EXPECT_EQ(good.source->thumbnail().width(), 200);
    EXPECT_EQ(good.source->thumbnail().height(), 150);
}

}  // namespace
