#pragma once
// What the program is asked to do by its command line:
//   pixo-rahmler [ALBUM.pxr]                                       the window, with that album
//   pixo-rahmler --pdf DATEI.pdf [--dpi N] [--paper FORMAT] ALBUM.pxr
//   pixo-rahmler --png ORDNER [--dpi N] [--paper FORMAT] ALBUM.pxr  printing without the window
//   pixo-rahmler -h | --help | --hilfe                              the German help text
// Options take their value as the next argument or after '=' (--dpi=300), may stand before or
// after the album, and "--" ends them. A command line without any of these options starts the
// window and leaves every argument to Qt (-style, -platform, ...). Parsed before any Qt
// application object exists: whether a window (and a display) is needed is decided first. What
// Qt leaves of a window's command line is parsed once the application exists (parseWindow): at
// most one album, nothing else.

#include <QStringList>
#include <string>

#include "gui/output/PrintArguments.h"

namespace pr {

struct CommandLine {
    enum class Mode { Window, Print, Help };

    Mode mode = Mode::Window;
    PrintArguments print;  // for Mode::Print
    QString album;         // for Mode::Window: the album to open (empty: none)
    std::string error;     // German; empty when the command line is usable

    bool ok() const { return error.empty(); }

    // `arguments` as QCoreApplication::arguments() has them: the program first.
    static CommandLine parse(const QStringList& arguments);
    static CommandLine parse(int argc, char** argv);
    // The window's arguments as QCoreApplication::arguments() has them once Qt took its own: the
    // album, if one is named; a second argument or an option is a wrong call.
    static CommandLine parseWindow(const QStringList& arguments);

    // The German help text, and the line that points to it after a wrong call.
    static std::string usage();
    static constexpr char kUsageHint[] = "Aufruf: pixo-rahmler --help";
    // The message for a --paper value that names no paper.
    static std::string unknownPaper(const std::string& name);
};

}  // namespace pr
