#pragma once
// What to print without the window, as the command line (gui/app/CommandLine.h) gave it.

#include <string>

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
    int dpi = 0;        // the default of the output when none was given
    std::string paper;  // empty: the paper of the default printer
};

}  // namespace pr
