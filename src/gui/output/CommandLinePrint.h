#pragma once
// Printing an album without the window (see gui/app/CommandLine.h for the call). The pages are
// drawn by PagePrinter and PageExport, exactly as "Go!" and "Als Bild speichern..." draw them, from
// the settings stored in the album and the page of the default printer (or the paper named).
// Needs no display: without QT_QPA_PLATFORM it runs on the offscreen platform.
//
// Exit status: 0 done, 1 failed (message on stderr), 2 wrong call, 3 written but pictures of the
// album could not be loaded (each named on stderr; their places are filled as in the window).

#include <QString>
#include <functional>

#include "gui/app/CommandLine.h"
#include "gui/output/PrintArguments.h"

namespace pr {

class Album;
struct AlbumSettings;
struct PrinterPage;

class CommandLinePrint {
public:
    enum Status { Done = 0, Failed = 1, WrongCall = 2, PicturesMissing = 3 };

    // For a command line that asks for printing or for help (not Mode::Window): makes its own
    // QGuiApplication, so call it before any other Qt application object exists.
    static int run(int argc, char** argv, const CommandLine& line);

    // The work itself, inside a running QGuiApplication; texts go to `err` and `out`.
    static int print(const PrintArguments& args, const std::function<void(const QString&)>& err,
                     const std::function<void(const QString&)>& out);

    // The last page that has a placement, at least 1, at most the page field's limit.
    static int pageCount(const Album& album);
};

}  // namespace pr
