#pragma once
// The arguments of printing without the window:
//   pixo-rahmler --pdf OUT.pdf [--dpi N] [--paper NAME] ALBUM.pxr
//   pixo-rahmler --png FOLDER [--dpi N] [--paper NAME] ALBUM.pxr
// Options take their value as the next argument or after '=' (--dpi=300). Plain C++: the
// decision whether to print must be made before any Qt application object exists.

#include <string>
#include <vector>

namespace pr {

struct PrintArguments {
    enum class Output { None, Pdf, Png };

    static constexpr int kMinDpi = 10;
    static constexpr int kMaxPngDpi = 600;   // as "Bitmap Qualität:"
    static constexpr int kMaxPdfDpi = 1200;  // a printer's resolution
    static constexpr int kDefaultPngDpi = 150;
    static constexpr int kDefaultPdfDpi = 300;

    Output output = Output::None;
    std::string target;  // the PDF file, or the folder of the PNG files
    std::string album;
    int dpi = 0;        // after parsing: the default of the output when not given
    std::string paper;  // empty: the paper of the default printer
    bool help = false;
    std::string error;  // German; empty when the arguments are usable

    bool ok() const { return error.empty(); }
};

// True when the arguments (without the program name) ask for printing without the window; any
// other command line starts the window as always.
bool wantsCommandLinePrint(const std::vector<std::string>& args);

PrintArguments parsePrintArguments(const std::vector<std::string>& args);

// The German help text.
std::string printUsage();

}  // namespace pr
