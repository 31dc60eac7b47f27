// Printing without the window: the arguments, and the program itself run on a saved album.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "album/Album.h"
#include "album/AlbumFileWriter.h"
#include "output/CommandLineArguments.h"
#include "output/CommandLinePrint.h"

using pr::PrintArguments;

namespace {

PrintArguments parse(std::initializer_list<const char*> args) {
    return pr::parsePrintArguments(std::vector<std::string>(args.begin(), args.end()));
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(CommandLineArguments, ValuesDefaultsAndMistakes) {
    // Any other command line starts the window as always.
    EXPECT_FALSE(pr::wantsCommandLinePrint({}));
    EXPECT_FALSE(pr::wantsCommandLinePrint({"album.pxr", "-style", "fusion"}));
    EXPECT_TRUE(pr::wantsCommandLinePrint({"album.pxr", "--dpi=300"}));

    PrintArguments a = parse({"--pdf", "aus.pdf", "album.pxr"});
    ASSERT_TRUE(a.ok()) << a.error;
    EXPECT_EQ(a.dpi, PrintArguments::kDefaultPdfDpi);
    a = parse({"album.pxr", "--png=seiten", "--dpi=600", "--paper", "Letter"});
    ASSERT_TRUE(a.ok()) << a.error;
    EXPECT_EQ(a.output, PrintArguments::Output::Png);
    EXPECT_EQ(a.target + a.album + a.paper, "seitenalbum.pxrLetter");
    EXPECT_EQ(a.dpi, 600);

    const std::vector<std::pair<PrintArguments, const char*>> wrong = {
        {parse({"--pdf", "a.pxr"}), "kein Album"},  // the album was taken as the PDF's name
        {parse({"a.pxr"}), "Ausgabe"},
        {parse({"--pdf", "a.pdf", "--png", "d", "a.pxr"}), "nur eine Ausgabe"},
        {parse({"--pdf", "a.pdf", "a.pxr", "b.pxr"}), "nur ein Album"},
        {parse({"a.pxr", "--pdf"}), "braucht einen Wert"},
        {parse({"--png", "d", "--dpi", "601", "a.pxr"}), "zwischen 10 und 600"},
        {parse({"--pdf", "a.pdf", "--dpi", "99999999999", "a.pxr"}), "keine Zahl"},
        {parse({"--pdf", "a.pdf", "--farbe", "a.pxr"}), "Unbekannte Option"},
    };
    for (const auto& [args, expected] : wrong)
        EXPECT_NE(args.error.find(expected), std::string::npos) << expected << ": " << args.error;
}

#ifdef PR_PROGRAM_PATH

class CommandLineProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QFileInfo::exists(QStringLiteral(PR_PROGRAM_PATH)));
    }
    void TearDown() override { album.DelallPics(); }

    // A picture file on disk and in the album, placed on `page`.
    void placePicture(const QString& name, int page, double left, double top) {
        // 120 dpi in its 2-inch frame: good enough, so the picture reaches paper unchanged.
        QImage image(240, 160, QImage::Format_RGB32);
        image.fill(QColor(30, 90, 200));
        const QString path = dir.filePath(name);
        ASSERT_TRUE(image.save(path));
        pr::ImageBuffer buffer;
        ASSERT_TRUE(pr::newdib(buffer, 240, 160, 24));
        const int32_t key = album.addPicture(path.toStdString(), buffer);
        album.Pictures.back().Comment = "Bild " + std::to_string(page);
        auto* p = reinterpret_cast<pr::Placement*>(album.Placements.Append());
        ASSERT_NE(p, nullptr);
        *p = pr::Placement{};
        p->Left = left;
        p->Top = top;
        p->Width = 2;
        p->Height = 1.5;
        p->Page = page;
        p->ImageKey = key;
    }

    QString saveAlbum(const QString& name) {
        const QString path = dir.filePath(name);
        const pr::AlbumSaveResult r = pr::saveAlbumFile(path.toStdString(), album, {});
        EXPECT_TRUE(r.ok) << r.message;
        return path;
    }

    struct Run {
        int status = -1;
        QString out, err;
    };
    // The program, with neither a display nor a platform named in its environment.
    Run run(const QStringList& args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(PR_PROGRAM_PATH), args);
        Run r;
        if (!process.waitForFinished(120000)) return r;
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        r.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(process.readAllStandardError());
        return r;
    }

    static int pdfPages(const QByteArray& pdf) {
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
        return static_cast<int>(QString::fromLatin1(pdf).count(page));
    }

    QTemporaryDir dir;
    pr::Album album;
};

TEST_F(CommandLineProgram, WritesEveryPageUpToTheLastUsedOneToPdfAndPng) {
    placePicture(QStringLiteral("eins.png"), 1, 0.5, 0.5);
    placePicture(QStringLiteral("drei.png"), 3, 1, 1);  // page 2 stays empty
    EXPECT_EQ(pr::CommandLinePrint::pageCount(album), 3);
    const QString albumPath = saveAlbum(QStringLiteral("urlaub.pxr"));

    const QString pdf = dir.filePath(QStringLiteral("urlaub.pdf"));
    Run r = run({QStringLiteral("--pdf"), pdf, QStringLiteral("--paper"), QStringLiteral("a5"),
                 albumPath});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("pixo-rahmler:"))) << r.err.toStdString();
    const QByteArray bytes = readBytes(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(pdfPages(bytes), 3);
    EXPECT_EQ(bytes.count("/Subtype /Image"), 2);
    // A5 is 420 x 595 points.
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 419") || bytes.contains("/MediaBox [0 0 420"));

    const QString folder = dir.filePath(QStringLiteral("seiten/neu"));
    r = run({QStringLiteral("--png"), folder, QStringLiteral("--dpi"), QStringLiteral("50"),
             QStringLiteral("--paper=A5"), albumPath});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files, (QStringList{"urlaub-1.png", "urlaub-2.png", "urlaub-3.png"}));
    const QImage first(QDir(folder).filePath(files.value(0)));
    ASSERT_FALSE(first.isNull());
    // The printable part of A5 (5.83 x 8.27 inches) at 50 dpi.
    EXPECT_LE(first.width(), 292);
    EXPECT_GT(first.width(), 250);
    EXPECT_LE(first.height(), 414);
    EXPECT_GT(first.height(), 370);
    // The picture at (0.5, 0.5) inches, 100 x 66 pixels: blue there, white on the empty page.
    EXPECT_EQ(first.pixel(50, 50), QColor(30, 90, 200).rgb());
    EXPECT_EQ(QImage(QDir(folder).filePath(files.value(1))).pixel(50, 50), 0xffffffffu);
}

TEST_F(CommandLineProgram, FailuresSayWhatWentWrongAndReturnNonZero) {
    placePicture(QStringLiteral("eins.png"), 1, 0.5, 0.5);
    const QString albumPath = saveAlbum(QStringLiteral("album.pxr"));
    const QString pdf = dir.filePath(QStringLiteral("aus.pdf"));

    // A damaged album: cut in half.
    QByteArray bytes = readBytes(albumPath);
    const QString damaged = dir.filePath(QStringLiteral("kaputt.pxr"));
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.left(bytes.size() / 2));
    }
    Run r = run({QStringLiteral("--pdf"), pdf, damaged});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("kaputt.pxr: Die Datei ist keine gültige "
                                              "Pixo-Rahmler Datei!")))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(pdf));

    // A wrong call: status 2 and the reason.
    r = run({QStringLiteral("--pdf"), pdf, QStringLiteral("--paper"), QStringLiteral("A99"),
             albumPath});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Papierformat \"A99\" ist unbekannt")));

    // A PDF in a folder that does not exist.
    const QString blocked = dir.filePath(QStringLiteral("nicht/da/aus.pdf"));
    r = run({QStringLiteral("--pdf"), blocked, albumPath});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nicht angelegt"))) << r.err.toStdString();

    // A missing picture: the rest is printed, the picture is named, and the status says so.
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("eins.png"))));
    r = run({QStringLiteral("--pdf"), pdf, albumPath});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("eins.png"))) << r.err.toStdString();
    EXPECT_EQ(pdfPages(readBytes(pdf)), 1);
}

#endif
