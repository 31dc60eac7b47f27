#include "gui/output/CommandLineArguments.h"

#include <cstdlib>

namespace pr {

namespace {

bool isOption(const std::string& a, const char* name) {
    const std::string n(name);
    return a == n || a.compare(0, n.size() + 1, n + "=") == 0;
}

bool isHelp(const std::string& a) {
    return a == "--help" || a == "-h" || a == "--hilfe";
}

// Whole decimal numbers only: "300dpi", "3e2" or an overflowing value are not resolutions.
bool parseInt(const std::string& text, int& out) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    out = std::atoi(text.c_str());
    return true;
}

}  // namespace

bool wantsCommandLinePrint(const std::vector<std::string>& args) {
    for (const std::string& a : args)
        if (isOption(a, "--pdf") || isOption(a, "--png") || isOption(a, "--dpi") ||
            isOption(a, "--paper") || isHelp(a))
            return true;
    return false;
}

PrintArguments parsePrintArguments(const std::vector<std::string>& args) {
    PrintArguments r;
    bool dpiGiven = false;
    auto fail = [&r](const std::string& text) {
        if (r.error.empty()) r.error = text;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (isHelp(a)) {
            r.help = true;
            continue;
        }
        const char* names[] = {"--pdf", "--png", "--dpi", "--paper"};
        const char* name = nullptr;
        for (const char* n : names)
            if (isOption(a, n)) name = n;
        if (!name) {
            if (a.size() > 1 && a[0] == '-') {
                fail("Unbekannte Option \"" + a + "\".");
            } else if (!r.album.empty()) {
                fail("Es kann nur ein Album angegeben werden (\"" + r.album + "\" und \"" + a +
                     "\").");
            } else {
                r.album = a;
            }
            continue;
        }
        std::string value;
        const size_t eq = a.find('=');
        if (eq != std::string::npos) {
            value = a.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        }
        if (value.empty()) {
            fail(std::string("Die Option ") + name + " braucht einen Wert.");
            continue;
        }
        const std::string n(name);
        if (n == "--pdf" || n == "--png") {
            const auto kind =
                n == "--pdf" ? PrintArguments::Output::Pdf : PrintArguments::Output::Png;
            if (r.output != PrintArguments::Output::None)
                fail("Es kann nur eine Ausgabe gewählt werden: --pdf oder --png.");
            r.output = kind;
            r.target = value;
        } else if (n == "--dpi") {
            if (!parseInt(value, r.dpi)) fail("Die Auflösung \"" + value + "\" ist keine Zahl.");
            dpiGiven = true;
        } else {
            r.paper = value;
        }
    }
    if (r.help) {
        r.error.clear();
        return r;
    }
    if (r.output == PrintArguments::Output::None)
        fail("Bitte wählen Sie eine Ausgabe: --pdf DATEI.pdf oder --png ORDNER.");
    if (r.album.empty()) fail("Es ist kein Album angegeben.");
    const bool pdf = r.output == PrintArguments::Output::Pdf;
    if (!dpiGiven) {
        r.dpi = pdf ? PrintArguments::kDefaultPdfDpi : PrintArguments::kDefaultPngDpi;
    } else if (r.ok()) {
        const int top = pdf ? PrintArguments::kMaxPdfDpi : PrintArguments::kMaxPngDpi;
        if (r.dpi < PrintArguments::kMinDpi || r.dpi > top)
            fail("Die Auflösung muss zwischen " + std::to_string(PrintArguments::kMinDpi) +
                 " und " + std::to_string(top) + " DPI liegen.");
    }
    return r;
}

std::string printUsage() {
    return "Aufruf:\n"
           "  pixo-rahmler --pdf DATEI.pdf [--dpi N] [--paper FORMAT] ALBUM.pxr\n"
           "  pixo-rahmler --png ORDNER [--dpi N] [--paper FORMAT] ALBUM.pxr\n"
           "\n"
           "Druckt alle Seiten des Albums ohne Fenster: in eine PDF-Datei (--dpi 10 bis 1200,\n"
           "Vorgabe 300) oder als PNG-Bild je Seite in einen Ordner (--dpi 10 bis 600,\n"
           "Vorgabe 150). --paper wählt das Papierformat (A4, A5, A3, Letter, Legal, ...);\n"
           "ohne diese Angabe gilt das Papier des Standarddruckers.\n"
           "Rückgabewert: 0 fertig, 1 Fehler, 2 falscher Aufruf, 3 geschrieben, aber Bilder\n"
           "des Albums fehlten.\n";
}

}  // namespace pr
