#include "gui/app/CommandLine.h"

#include <QCommandLineParser>
#include <QFile>
#include <QPageSize>
#include <algorithm>
#include <limits>

#include "gui/output/PaperNames.h"

namespace pr {

namespace {

// Whole decimal numbers with an optional sign: "300dpi" and "3e2" are not numbers, while "-5"
// and "99999999999" are, only out of range. Those beyond int come out as int's ends.
bool parseNumber(const QString& text, int& out) {
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString digits = negative || text.startsWith(QLatin1Char('+')) ? text.mid(1) : text;
    if (digits.isEmpty()) return false;
    long long value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
        value = std::min(value * 10 + (c.unicode() - '0'), 1LL << 40);
    }
    if (negative) value = -value;
    out = static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                 std::numeric_limits<int>::max()));
    return true;
}

std::string quoted(const QString& text) {
    return "\"" + text.toStdString() + "\"";
}

// The first argument as typed that names an option the parser does not know.
QString firstUnknown(const QStringList& arguments, const QStringList& unknownNames) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--")) break;
        if (a.size() < 2 || !a.startsWith(QLatin1Char('-'))) continue;
        const QString name = a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1).section('=', 0, 0);
        if (unknownNames.contains(name)) return a;
    }
    return QStringLiteral("--") + unknownNames.value(0);
}

class Options {
public:
    Options() {
        // "-stylesheet" is one (Qt) option, not -s -t -y ... with an -h among them.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({pdf, png, dpi, paper, help});
    }
    QCommandLineParser parser;
    const QCommandLineOption pdf{QStringLiteral("pdf"), {}, QStringLiteral("DATEI")};
    const QCommandLineOption png{QStringLiteral("png"), {}, QStringLiteral("ORDNER")};
    const QCommandLineOption dpi{QStringLiteral("dpi"), {}, QStringLiteral("N")};
    const QCommandLineOption paper{QStringLiteral("paper"), {}, QStringLiteral("FORMAT")};
    const QCommandLineOption help{
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("hilfe")}};
};

// The first mistake of a printing command line, in German; empty when there is none.
std::string mistakeIn(const QStringList& arguments, Options& o) {
    const QStringList unknown = o.parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return "Unbekannte Option " + quoted(firstUnknown(arguments, unknown)) + ".";
    for (const QCommandLineOption* option : {&o.pdf, &o.png, &o.dpi, &o.paper}) {
        const QStringList values = o.parser.values(*option);
        if (o.parser.isSet(*option) && (values.isEmpty() || values.contains(QString())))
            return "Die Option --" + option->names().first().toStdString() + " braucht einen Wert.";
    }
    if (o.parser.values(o.pdf).size() + o.parser.values(o.png).size() > 1)
        return "Es kann nur eine Ausgabe gewählt werden: --pdf oder --png.";
    for (const QCommandLineOption* option : {&o.dpi, &o.paper})
        if (o.parser.values(*option).size() > 1)
            return "Die Option --" + option->names().first().toStdString() +
                   " kann nur einmal angegeben werden.";
    const QStringList albums = o.parser.positionalArguments();
    if (albums.size() > 1)
        return "Es kann nur ein Album angegeben werden (" + quoted(albums[0]) + " und " +
               quoted(albums[1]) + ").";
    return {};
}

}  // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine line;
    Options o;
    o.parser.parse(arguments);  // its English errors are replaced by ours below
    if (o.parser.isSet(o.help)) {
        line.mode = Mode::Help;
        return line;
    }
    if (!o.parser.isSet(o.pdf) && !o.parser.isSet(o.png) && !o.parser.isSet(o.dpi) &&
        !o.parser.isSet(o.paper))
        return line;
    line.mode = Mode::Print;
    line.error = mistakeIn(arguments, o);
    if (!line.ok()) return line;

    PrintArguments& p = line.print;
    const bool pdf = o.parser.isSet(o.pdf);
    if (pdf || o.parser.isSet(o.png)) {
        p.output = pdf ? PrintArguments::Output::Pdf : PrintArguments::Output::Png;
        p.target = o.parser.value(pdf ? o.pdf : o.png).toStdString();
    }
    if (!o.parser.positionalArguments().isEmpty())
        p.album = QFile::encodeName(o.parser.positionalArguments().first()).toStdString();
    p.paper = o.parser.value(o.paper).toStdString();
    const int top = pdf ? PrintArguments::kMaxPdfDpi : PrintArguments::kMaxPngDpi;
    if (!o.parser.isSet(o.dpi)) {
        p.dpi = pdf ? PrintArguments::kDefaultPdfDpi : PrintArguments::kDefaultPngDpi;
    } else if (!parseNumber(o.parser.value(o.dpi), p.dpi)) {
        line.error = "Die Auflösung " + quoted(o.parser.value(o.dpi)) + " ist keine Zahl.";
    }
    QPageSize paper;
    if (line.ok() && !p.paper.empty() && !paperByName(o.parser.value(o.paper), paper))
        line.error = unknownPaper(p.paper);
    if (!line.ok()) return line;
    if (p.output == PrintArguments::Output::None)
        line.error = "Bitte wählen Sie eine Ausgabe: --pdf DATEI.pdf oder --png ORDNER.";
    else if (p.album.empty())
        line.error = "Es ist kein Album angegeben.";
    else if (p.dpi < PrintArguments::kMinDpi || p.dpi > top)
        line.error = "Die Auflösung muss zwischen " + std::to_string(PrintArguments::kMinDpi) +
                     " und " + std::to_string(top) + " DPI liegen.";
    return line;
}

CommandLine CommandLine::parseWindow(const QStringList& arguments) {
    CommandLine line;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.parse(arguments);
    const QStringList albums = parser.positionalArguments();
    if (!parser.unknownOptionNames().isEmpty())
        line.error = "Unbekannte Option " +
                     quoted(firstUnknown(arguments, parser.unknownOptionNames())) + ".";
    else if (albums.size() > 1)
        line.error = "Es kann nur ein Album angegeben werden (" + quoted(albums[0]) + " und " +
                     quoted(albums[1]) + ").";
    else if (!albums.isEmpty())
        line.album = albums.first();
    return line;
}

CommandLine CommandLine::parse(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QFile::decodeName(argv[i]);
    return parse(arguments);
}

std::string CommandLine::unknownPaper(const std::string& name) {
    return "Das Papierformat \"" + name +
           "\" ist unbekannt. Möglich sind zum Beispiel A4, A5, A3, Letter und Legal.";
}

std::string CommandLine::usage() {
    return "Aufruf:\n"
           "  pixo-rahmler [ALBUM.pxr]\n"
           "  pixo-rahmler --pdf DATEI.pdf [--dpi N] [--paper FORMAT] ALBUM.pxr\n"
           "  pixo-rahmler --png ORDNER [--dpi N] [--paper FORMAT] ALBUM.pxr\n"
           "\n"
           "Ohne --pdf und --png öffnet sich das Fenster, mit dem Album, wenn eines angegeben "
           "ist.\n"
           "Druckt alle Seiten des Albums ohne Fenster: in eine PDF-Datei (--dpi 10 bis 1200,\n"
           "Vorgabe 300) oder als PNG-Bild je Seite in einen Ordner (--dpi 10 bis 600,\n"
           "Vorgabe 150). --paper wählt das Papierformat (A4, A5, A3, Letter, Legal, ...);\n"
           "ohne diese Angabe gilt das Papier des Standarddruckers.\n"
           "Rückgabewert: 0 fertig, 1 Fehler, 2 falscher Aufruf, 3 geschrieben, aber Bilder\n"
           "des Albums fehlten.\n";
}

}  // namespace pr
