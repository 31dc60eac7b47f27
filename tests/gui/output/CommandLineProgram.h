#pragma once
// The program itself run on a saved album, as the command line tests of this folder need it.

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <random>

#include "OutputFixture.h"
#include "core/album/AlbumFileWriter.h"

#ifdef PR_PROGRAM_PATH

class CommandLineProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QFileInfo::exists(QStringLiteral(PR_PROGRAM_PATH)));
    }
    void TearDown() override { album.DelallPics(); }

    // A blue picture file on disk and in the album, 2 x 1.5 inches on `page`. At 120 dpi in its
    // frame it is good enough, so it reaches paper unchanged.
    void placePicture(const QString& name, int page, double left, double top) {
        QImage image(240, 160, QImage::Format_RGB32);
        image.fill(QColor(30, 90, 200));
        ASSERT_TRUE(image.save(dir.filePath(name)));
        pr::ImageBuffer buffer;
        ASSERT_TRUE(pr::newdib(buffer, 240, 160, 24));
        placeOn(album, album.addPicture(dir.filePath(name).toStdString(), buffer), page, left, top,
                2, 1.5);
        album.Pictures.back().Comment = "Bild " + std::to_string(page);
    }

    // Random colours, which no compression makes much smaller, 600 x 600 pixels in a 2 x 2 inch
    // frame: its pages fill a small disk.
    void placeNoisyPicture(const QString& path, int page) {
        const int side = 600;
        QImage image(side, side, QImage::Format_RGB32);
        std::mt19937 random(static_cast<unsigned>(page));
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) image.setPixel(x, y, random() | 0xff000000u);
        ASSERT_TRUE(image.save(path));
        pr::ImageBuffer buffer;
        ASSERT_TRUE(pr::newdib(buffer, side, side, 24));
        placeOn(album, album.addPicture(path.toStdString(), buffer), page, 0.5, 0.5, 2, 2);
    }

    QString saveAlbum(const QString& name) {
        const pr::AlbumSaveResult r =
            pr::saveAlbumFile(dir.filePath(name).toStdString(), album, {});
        EXPECT_TRUE(r.ok) << r.message;
        return dir.filePath(name);
    }

    // The program, with neither a display nor a platform named in its environment; returns the
    // exit status and leaves the error output in `err`.
    int run(const QStringList& args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(PR_PROGRAM_PATH), args);
        if (!process.waitForFinished(120000)) return -1;
        err = QString::fromLocal8Bit(process.readAllStandardError());
        out = QString::fromLocal8Bit(process.readAllStandardOutput());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    }

    QTemporaryDir dir;
    pr::Album album;
    QString err;
    QString out;
};

#endif
