// Printing without the window: the arguments, and the program itself run on a saved album.

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "CommandLineProgram.h"
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

// What Qt leaves of a window's command line: one album at most.
TEST(CommandLine, TheWindowOpensOneAlbumAndNothingElse) {
    const auto window = [](QStringList args) {
        args.prepend(QStringLiteral("pixo-rahmler"));
        return CommandLine::parseWindow(args);
    };
    const struct {
        QStringList args;
        const char* album;  // null: a wrong call
    } cases[] = {
        {{}, ""},
        {{"/home/anna/Urlaub 2001.pxr"}, "/home/anna/Urlaub 2001.pxr"},
        {{"--", "-minus.pxr"}, "-minus.pxr"},
        {{"a.pxr", "b.pxr"}, nullptr},
        {{"a.pxr", "bild.jpg"}, nullptr},
        {{"a.pxr", "--farbe"}, nullptr},
    };
    for (const auto& c : cases) {
        const CommandLine line = window(c.args);
        EXPECT_EQ(line.mode, CommandLine::Mode::Window);
        EXPECT_EQ(line.ok(), c.album != nullptr) << c.args.join(' ').toStdString();
        if (c.album) {
            EXPECT_EQ(line.album, QString::fromUtf8(c.album));
        }
    }
    EXPECT_EQ(window({"a.pxr", "b.pxr"}).error,
              "Es kann nur ein Album angegeben werden (\"a.pxr\" und \"b.pxr\").");
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
    a = parse({"--pdf=-x.pdf", "--dpi=+300", "--", "--dpi"});
    ASSERT_TRUE(a.ok()) << a.error;
    EXPECT_EQ(a.print.target + a.print.album, "-x.pdf--dpi");
    EXPECT_EQ(a.print.dpi, 300);

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
        // Numbers out of range are numbers all the same.
        {parse({"--pdf", "a.pdf", "--dpi", "99999999999", "a.pxr"}), "zwischen 10 und 1200 DPI"},
        {parse({"--png", "d", "--dpi", "-5", "a.pxr"}), "zwischen 10 und 600 DPI"},
        {parse({"--png", "d", "--dpi=-99999999999999999999", "a.pxr"}), "zwischen 10 und 600"},
        {parse({"--pdf", "a.pdf", "--dpi=3e2", "a.pxr"}), "\"3e2\" ist keine Zahl"},
        {parse({"--pdf", "a.pdf", "--dpi=-", "a.pxr"}), "\"-\" ist keine Zahl"},
        // Each option once, as --pdf and --png already were.
        {parse({"--pdf", "a.pdf", "--dpi", "300", "--dpi=600", "a.pxr"}),
         "Die Option --dpi kann nur einmal angegeben werden."},
        {parse({"--pdf", "a.pdf", "--paper", "A4", "--paper=A5", "a.pxr"}),
         "Die Option --paper kann nur einmal angegeben werden."},
        {parse({"--pdf", "a.pdf", "--paper", "nonsense", "a.pxr"}),
         "Das Papierformat \"nonsense\" ist unbekannt."},
        {parse({"--pdf", "a.pdf", "--farbe=rot", "a.pxr"}), "Unbekannte Option \"--farbe=rot\"."},
        {parse({"--pdf", "a.pdf", "-x", "a.pxr"}), "Unbekannte Option \"-x\"."},
    };
    for (const auto& [args, expected] : wrong) {
        EXPECT_EQ(args.mode, CommandLine::Mode::Print) << expected;
        EXPECT_NE(args.error.find(expected), std::string::npos) << expected << ": " << args.error;
    }
}

#ifdef PR_PROGRAM_PATH

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
        {{"--pdf", pdf, "--paper", "A99", albumPath},
         2,
         "Papierformat \"A99\" ist unbekannt. Möglich sind zum Beispiel A4, A5, A3, Letter und "
         "Legal.\npixo-rahmler: Aufruf: pixo-rahmler --help"},
        {{"--pdf", dir.filePath("nicht/da/aus.pdf"), albumPath},
         1,
         "konnte nicht gespeichert werden. Der Ordner oder die Datei existiert nicht."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), c.status) << c.message.toStdString();
        EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(pdf));
    }

    // The window takes one album; a second argument is a wrong call, told before any window.
    QProcess window;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    window.setProcessEnvironment(env);
    window.start(QStringLiteral(PR_PROGRAM_PATH), {albumPath, QStringLiteral("zweites.pxr")});
    ASSERT_TRUE(window.waitForFinished(60000));
    EXPECT_EQ(window.exitCode(), 2);
    const QString usage = QString::fromLocal8Bit(window.readAllStandardError());
    EXPECT_TRUE(usage.contains(QStringLiteral("Es kann nur ein Album angegeben werden")));
    EXPECT_TRUE(usage.contains(QStringLiteral("pixo-rahmler [ALBUM.pxr]")));

    // A missing picture: the rest is printed, the picture is named, and the status says so.
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("eins.png"))));
    EXPECT_EQ(run({"--pdf", pdf, albumPath}), 3);
    EXPECT_TRUE(err.contains(QStringLiteral("eins.png"))) << err.toStdString();
    EXPECT_EQ(pdfPages(readAll(pdf)), 1);
}

#endif
