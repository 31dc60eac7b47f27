// What the program writes when writing goes wrong: full and read-only disks, a device or the album
// itself as the output, long names. In every case the old file stays as it was and the user is
// told why in German.

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "CommandLineProgram.h"
#include "OutputFixture.h"
#include "SmallDisk.h"
#include "render/PageExport.h"

using testsupport::SmallDisk;

namespace {

const QByteArray kOld = "%PDF alt";

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList everythingIn(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

enum class Disk { Full, ReadOnly };

struct DiskCase {
    Disk disk;
    const char* reason;
};

const DiskCase kDiskCases[] = {{Disk::Full, "Der Datenträger ist voll."},
                               {Disk::ReadOnly, "Das Ziel ist schreibgeschützt."}};

// A tmpfs of `kib` with `files` in it (old content), full or read-only as the case asks; a
// disk "full" here still has room, only not for the new file: a disk without a byte left was
// caught before.
bool prepare(SmallDisk& disk, const DiskCase& c, const QStringList& files) {
    if (!disk.mounted()) return false;
    for (const QString& name : files)
        writeFile(QString::fromStdString(disk.path()) + QLatin1Char('/') + name, kOld);
    return c.disk == Disk::Full || disk.makeReadOnly();
}

}  // namespace

using WritingTest = OutputFixture;

TEST_F(WritingTest, GoIntoAFileAndAPageExportKeepTheOldFilesOnAFullOrReadOnlyDisk) {
    // Random colours hardly compress: 400 x 400 of them make a document far larger than the disk.
    place(addPicture(400, 400,
                     [](int x, int y) { return uint32_t(x * 7919 ^ y * 104729) * 2654435761u; }),
          1, 1, 1, 4, 4);
    for (const DiskCase& c : kDiskCases) {
        SCOPED_TRACE(c.reason);
        SmallDisk disk(128);
        if (!disk.mounted()) GTEST_SKIP() << disk.skipReason();
        ASSERT_TRUE(prepare(disk, c, {"album.pdf", "seite.png"}));
        const QString pdf = QString::fromStdString(disk.file("album.pdf"));
        const QString png = QString::fromStdString(disk.file("seite.png"));

        prompter.shown.clear();
        prompter.answerPrint(printToPdf(pdf));
        prompter.answer(pr::Prompter::Button::Yes);  // replace the old file
        EXPECT_FALSE(output->GoBtn1Click());
        ASSERT_EQ(prompter.shown.size(), 2u);
        EXPECT_EQ(prompter.shown[1].text,
                  QStringLiteral("Der Druckauftrag konnte nicht ausgeführt werden.\nDie Datei "
                                 "\"%1\" konnte nicht gespeichert werden.\n%2")
                      .arg(pdf, QString::fromUtf8(c.reason)));

        const pr::ExportResult exported = pr::PageExport::exportPage(
            png, album, layout->renderOptions(), layout->printerPage(), 150);
        EXPECT_FALSE(exported.ok);
        EXPECT_EQ(exported.message,
                  QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden.\n%2")
                      .arg(png, QString::fromUtf8(c.reason)));

        EXPECT_EQ(readAll(pdf), kOld);
        EXPECT_EQ(readAll(png), kOld);
        EXPECT_EQ(everythingIn(QString::fromStdString(disk.path())),
                  (QStringList{"album.pdf", "seite.png"}));
    }
}

#ifdef PR_PROGRAM_PATH

TEST_F(CommandLineProgram, AFullOrReadOnlyDiskLeavesTheOldPdfAndPngPagesAndSaysWhy) {
    placeNoisyPicture(dir.filePath(QStringLiteral("eins.png")), 1);
    placeNoisyPicture(dir.filePath(QStringLiteral("zwei.png")), 2);
    const QString albumPath = saveAlbum(QStringLiteral("album.pxr"));
    for (const DiskCase& c : kDiskCases) {
        SCOPED_TRACE(c.reason);
        // Room for one page picture (about 280 KB at 150 dpi), not for two nor for the document.
        SmallDisk disk(384);
        if (!disk.mounted()) GTEST_SKIP() << disk.skipReason();
        ASSERT_TRUE(QDir().mkdir(QString::fromStdString(disk.file("seiten"))));
        ASSERT_TRUE(prepare(disk, c, {"album.pdf", "seiten/album-1.png"}));
        const QString root = QString::fromStdString(disk.path());

        EXPECT_EQ(run({"--pdf", root + "/album.pdf", albumPath}), 1);
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.reason))) << err.toStdString();
        EXPECT_FALSE(out.contains(QStringLiteral("geschrieben"))) << out.toStdString();
        EXPECT_EQ(readAll(root + "/album.pdf"), kOld);

        // Page 1 would fit, page 2 not: neither is put in place.
        EXPECT_EQ(run({"--png", root + "/seiten", albumPath}), 1);
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.reason))) << err.toStdString();
        EXPECT_EQ(everythingIn(root + "/seiten"), QStringList{"album-1.png"});
        EXPECT_EQ(readAll(root + "/seiten/album-1.png"), kOld);

        // Folders made for the pages go again.
        EXPECT_EQ(run({"--png", root + "/neu/tief", albumPath}), 1);
        EXPECT_EQ(everythingIn(root), (QStringList{"album.pdf", "seiten"}));
    }
}

TEST_F(CommandLineProgram, OutputsThatAreNoRegularFileOrTheAlbumItselfAreRefused) {
    placePicture(QStringLiteral("eins.png"), 1, 0.5, 0.5);
    const QString albumPath = saveAlbum(QStringLiteral("album.pxr"));
    const QByteArray albumBytes = readAll(albumPath);
    const QString toAlbum = dir.filePath(QStringLiteral("album-verweis.pdf"));
    ASSERT_TRUE(QFile::link(albumPath, toAlbum));
    struct Case {
        QString target;
        QString reason;
    };
    std::vector<Case> cases = {
        {albumPath, QStringLiteral("Das Ziel ist die Datei, aus der gelesen wird.")},
        {toAlbum, QStringLiteral("Das Ziel ist die Datei, aus der gelesen wird.")},
    };
    // /dev/full's own device, made here: a mistake must not replace the machine's node.
    const QString device = dir.filePath(QStringLiteral("voll.pdf"));
    const bool root =
        ::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0;
    if (root) cases.push_back({device, QStringLiteral("Das Ziel ist keine gewöhnliche Datei.")});
    for (const Case& c : cases) {
        EXPECT_EQ(run({"--pdf", c.target, albumPath}), 1) << c.target.toStdString();
        EXPECT_TRUE(err.contains(c.reason)) << err.toStdString();
    }
    EXPECT_EQ(readAll(albumPath), albumBytes);
    EXPECT_TRUE(QFileInfo(toAlbum).isSymLink());
    if (root) {
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(device).constData(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
}

TEST_F(CommandLineProgram, LongNamesAndPercentSignsInNames) {
    placePicture(QStringLiteral("eins.png"), 1, 0.5, 0.5);
    // 250 bytes is a legal name; the temporary file beside it must not need more than 255.
    const QString longAlbum = saveAlbum(QString(246, QLatin1Char('a')) + QStringLiteral(".pxr"));
    ASSERT_TRUE(QFileInfo::exists(longAlbum));
    const QString longPdf = dir.filePath(QString(246, QLatin1Char('p')) + QStringLiteral(".pdf"));
    EXPECT_EQ(run({"--pdf", longPdf, longAlbum}), 0) << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    EXPECT_EQ(pdfPages(readAll(longPdf)), 1);

    // "%1" in the album's name is part of the page names, not a place for the page number.
    const QString percent = saveAlbum(QStringLiteral("a%1b%2.pxr"));
    const QString folder = dir.filePath(QStringLiteral("seiten"));
    EXPECT_EQ(run({"--png", folder, "--dpi", "20", percent}), 0) << err.toStdString();
    EXPECT_EQ(everythingIn(folder), QStringList{"a%1b%2-1.png"});
}

TEST_F(CommandLineProgram, APictureThatCannotBeLoadedIsNamedWithItsPathAndTheReason) {
    placePicture(QStringLiteral("kaputt.png"), 1, 0.5, 0.5);
    placePicture(QStringLiteral("weg.png"), 1, 3, 0.5);
    const QString albumPath = saveAlbum(QStringLiteral("album.pxr"));
    QByteArray damaged = readAll(dir.filePath(QStringLiteral("kaputt.png")));
    damaged.truncate(60);  // the signature and the header, no picture data
    writeFile(dir.filePath(QStringLiteral("kaputt.png")), damaged);
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("weg.png"))));

    EXPECT_EQ(run({"--pdf", dir.filePath(QStringLiteral("x.pdf")), albumPath}), 3);
    // The decoder's own words may come first; the program's lines name the pictures.
    const QStringList lines =
        err.split(QLatin1Char('\n')).filter(QStringLiteral("pixo-rahmler: Konnte das Bild"));
    ASSERT_EQ(lines.size(), 2) << err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("pixo-rahmler: Konnte das Bild \"%1\" nicht "
                                                   "öffnen: Die Bilddatei ist beschädigt")
                                        .arg(dir.filePath(QStringLiteral("kaputt.png")))))
        << lines[0].toStdString();
    EXPECT_TRUE(
        lines[1].startsWith(QStringLiteral("pixo-rahmler: Konnte das Bild \"%1\" nicht öffnen: ")
                                .arg(dir.filePath(QStringLiteral("weg.png")))))
        << lines[1].toStdString();
}

#endif
