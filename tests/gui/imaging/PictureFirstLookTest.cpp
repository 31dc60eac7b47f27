#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstdlib>

#include "core/imaging/PictureSource.h"
#include "core/imaging/RasterLibrary.h"

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

// Opening an album and adding pictures in the window judge every JPEG's data, so a file damaged
// beyond its header is named at once with its reason, as when every picture was decoded whole;
// printing from the command line judges the header only.
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
    // Judged from its first rows; the thumbnail is made when first asked for.
    EXPECT_FALSE(good.source->hasThumbnail());
    EXPECT_EQ(good.source->thumbnail().width(), 200);
    EXPECT_EQ(good.source->thumbnail().height(), 150);
    EXPECT_TRUE(good.source->hasThumbnail());
}

// Judging a JPEG from its first rows must accept and refuse exactly the files a whole decode
// accepts and refuses, with the same words, wherever the file breaks off or turns to rubbish.
TEST(PictureInspection, JudgingTheDataAgreesWithTheWholeDecode) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A tall one too: its thumbnail decode has many rows, and a file breaking off after the first
    // of them but before the share a decode must keep is refused by both.
    for (const QSize size : {QSize(800, 600), QSize(400, 6000)})
        for (const bool progressive : {false, true}) {
            QImage photo(size, QImage::Format_RGB32);
            std::srand(7);
            for (int y = 0; y < photo.height(); ++y)
                for (int x = 0; x < photo.width(); ++x)
                    photo.setPixel(x, y,
                                   qRgb((x + std::rand() % 64) & 255, (y + std::rand() % 64) & 255,
                                        std::rand() & 255));
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "JPG");
            writer.setQuality(90);
            writer.setProgressiveScanWrite(progressive);
            ASSERT_TRUE(writer.write(photo));
            const int data = int(bytes.indexOf(QByteArray("\xFF\xDA", 2))) + 20;
            ASSERT_GT(data, 20);
            for (const double share : {0.0, 0.001, 0.002, 0.005, 0.01, 0.03, 0.3, 0.9}) {
                const int cut = data + int((bytes.size() - data) * share);
                for (const bool rubbish : {false, true}) {
                    QByteArray damaged = bytes.left(cut);
                    if (rubbish) damaged += QByteArray(bytes.size() - cut, char(0x5A));
                    SCOPED_TRACE(testing::Message()
                                 << size.height() << " rows, progressive " << progressive
                                 << ", cut at " << share << ", rubbish " << rubbish);
                    const std::string path =
                        dir.filePath(QStringLiteral("probe.jpg")).toStdString();
                    QFile f(QString::fromStdString(path));
                    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
                    f.write(damaged);
                    f.close();
                    pr::ImageBuffer whole;
                    const bool decoded = pr::OpenDib(whole, path, 0);
                    const pr::PictureInspection judged = pr::inspectPictureFile(path, true);
                    EXPECT_EQ(judged.ok, decoded);
                    if (!decoded) EXPECT_EQ(judged.message, whole.message);
                }
            }
        }
}

}  // namespace
