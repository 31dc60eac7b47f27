// Printing without the window: the arguments, and the program itself run on a saved album.

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "OutputFixture.h"
#include "core/album/AlbumFileWriter.h"
#include "gui/app/CommandLine.h"
#include "gui/output/CommandLinePrint.h"

using pr::CommandLine;
using pr::PrintArguments;

namespace {

CommandLine parse(std::initializer_list<const char*> args) {
    QStringList arguments{QStringLiteral("pixo-rahmler")};
    for (const char* a : args) arguments << QString::fromUtf8(a);
    return CommandLine::parse(arguments);
}

}  // namespace

TEST(CommandLine, WindowPrintOrHelp) {
    // Without our options the window starts, and Qt keeps its own arguments.
    for (const auto& args : {parse({}), parse({"album.pxr", "-style", "fusion"}),
                             parse({"-stylesheet", "a.qss"}), parse({"-platform", "offscreen"})}) {
        EXPECT_EQ(args.mode, CommandLine::Mode::Window);
        EXPECT_TRUE(args.ok()) << args.error;
    }
    for (const auto& args : {parse({"-h"}), parse({"--help"}), parse({"--hilfe"}),
                             parse({"--pdf", "a.pdf", "--farbe", "-h"})})
        EXPECT_EQ(args.mode, CommandLine::Mode::Help);
    EXPECT_EQ(parse({"album.pxr", "--dpi=300"}).mode, CommandLine::Mode::Print);
}

TEST(CommandLine, PrintValuesDefaultsAndMistakes) {
    CommandLine a = parse({"--pdf", "aus.pdf", "album.pxr"});
    ASSERT_TRUE(a.ok()) << a.error;
    EXPECT_EQ(a.print.output, PrintArguments::Output::Pdf);
    EXPECT_EQ(a.print.dpi, PrintArguments::kDefaultPdfDpi);
    a = parse({"album.pxr", "--png=seiten", "--dpi=600", "--paper", "Letter"});
    ASSERT_TRUE(a.ok()) << a.error;
    EXPECT_EQ(a.print.output, PrintArguments::Output::Png);
    EXPECT_EQ(a.print.target + a.print.album + a.print.paper, "seitenalbum.pxrLetter");
    EXPECT_EQ(a.print.dpi, 600);
    a = parse({"--png", "d", "--", "--album.pxr"});  // "--" ends the options
    ASSERT_TRUE(a.ok()) << a.error;
    EXPECT_EQ(a.print.album, "--album.pxr");
    EXPECT_EQ(a.print.dpi, PrintArguments::kDefaultPngDpi);

    const std::vector<std::pair<CommandLine, const char*>> wrong = {
        {parse({"--pdf", "a.pxr"}), "Es ist kein Album angegeben."},  // taken as the PDF's name
        {parse({"--dpi", "300", "a.pxr"}), "Bitte wählen Sie eine Ausgabe"},
        {parse({"--pdf", "a.pdf", "--png", "d", "a.pxr"}), "nur eine Ausgabe"},
        {parse({"--pdf", "a.pdf", "--pdf", "b.pdf", "a.pxr"}), "nur eine Ausgabe"},
        {parse({"--pdf", "a.pdf", "a.pxr", "b.pxr"}),
         "Es kann nur ein Album angegeben werden (\"a.pxr\" und \"b.pxr\")."},
        {parse({"a.pxr", "--pdf"}), "Die Option --pdf braucht einen Wert."},
        {parse({"a.pxr", "--pdf=", "x"}), "Die Option --pdf braucht einen Wert."},
        {parse({"--png", "d", "--dpi", "601", "a.pxr"}), "zwischen 10 und 600 DPI"},
        {parse({"--pdf", "a.pdf", "--dpi", "1201", "a.pxr"}), "zwischen 10 und 1200 DPI"},
        {parse({"--pdf", "a.pdf", "--dpi", "99999999999", "a.pxr"}), "keine Zahl"},
        {parse({"--pdf", "a.pdf", "--dpi=3e2", "a.pxr"}), "\"3e2\" ist keine Zahl"},
        {parse({"--pdf", "a.pdf", "--farbe=rot", "a.pxr"}), "Unbekannte Option \"--farbe=rot\"."},
        {parse({"--pdf", "a.pdf", "-x", "a.pxr"}), "Unbekannte Option \"-x\"."},
    };
    for (const auto& [args, expected] : wrong) {
        EXPECT_EQ(args.mode, CommandLine::Mode::Print) << expected;
        EXPECT_NE(args.error.find(expected), std::string::npos) << expected << ": " << args.error;
    }
}

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
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    }

    QTemporaryDir dir;
    pr::Album album;
    QString err;
};

TEST_F(CommandLineProgram, WritesEveryPageUpToTheLastUsedOneToPdfAndPng) {
    placePicture(QStringLiteral("eins.png"), 1, 0.5, 0.5);
    placePicture(QStringLiteral("drei.png"), 3, 1, 1);  // page 2 stays empty
    EXPECT_EQ(pr::CommandLinePrint::pageCount(album), 3);
    const QString albumPath = saveAlbum(QStringLiteral("urlaub.pxr"));

    const QString pdf = dir.filePath(QStringLiteral("urlaub.pdf"));
    ASSERT_EQ(run({"--pdf", pdf, "--paper", "a5", albumPath}), 0) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("pixo-rahmler:"))) << err.toStdString();
    const QByteArray bytes = readAll(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(pdfPages(bytes), 3);
    EXPECT_EQ(pdfImages(bytes), 2);
    // A5 is 420 x 595 points.
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 419") || bytes.contains("/MediaBox [0 0 420"));
    EXPECT_TRUE(bytes.contains("/OutputIntents")) << "the pictures are declared sRGB";

    const QString folder = dir.filePath(QStringLiteral("seiten/neu"));
    ASSERT_EQ(run({"--png", folder, "--dpi", "50", "--paper=A5", albumPath}), 0)
        << err.toStdString();
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files, (QStringList{"urlaub-1.png", "urlaub-2.png", "urlaub-3.png"}));
    const QImage first(QDir(folder).filePath(files.value(0)));
    // The printable part of A5 (5.83 x 8.27 inches) at 50 dpi.
    EXPECT_TRUE(first.width() > 250 && first.width() <= 292) << first.width();
    EXPECT_TRUE(first.height() > 370 && first.height() <= 414) << first.height();
    // The picture at (0.5, 0.5) inches, 100 x 66 pixels: blue there, white on the empty page.
    EXPECT_EQ(first.pixel(50, 50), QColor(30, 90, 200).rgb());
    EXPECT_EQ(QImage(QDir(folder).filePath(files.value(1))).pixel(50, 50), 0xffffffffu);
}

TEST_F(CommandLineProgram, FailuresSayWhatWentWrongAndReturnNonZero) {
    placePicture(QStringLiteral("eins.png"), 1, 0.5, 0.5);
    const QString albumPath = saveAlbum(QStringLiteral("album.pxr"));
    const QString pdf = dir.filePath(QStringLiteral("aus.pdf"));
    const QString damaged = dir.filePath(QStringLiteral("kaputt.pxr"));  // cut in half
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray bytes = readAll(albumPath);
        f.write(bytes.left(bytes.size() / 2));
    }
    const struct {
        QStringList args;
        int status;
        QString message;
    } cases[] = {
        {{"--pdf", pdf, damaged}, 1, "kaputt.pxr: Die Datei ist keine gültige Pixo-Rahmler Datei!"},
        {{"--pdf", pdf, "--paper", "A99", albumPath}, 2, "Papierformat \"A99\" ist unbekannt"},
        {{"--pdf", dir.filePath("nicht/da/aus.pdf"), albumPath}, 1, "nicht angelegt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), c.status) << c.message.toStdString();
        EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(pdf));
    }

    // A missing picture: the rest is printed, the picture is named, and the status says so.
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("eins.png"))));
    EXPECT_EQ(run({"--pdf", pdf, albumPath}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("eins.png"))) << err.toStdString();
    EXPECT_EQ(pdfPages(readAll(pdf)), 1);
}

#endif
