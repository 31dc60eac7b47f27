#include "gui/output/CommandLinePrint.h"

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QSettings>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/album/Album.h"
#include "core/album/AlbumFileApply.h"
#include "core/album/QualityCheck.h"
#include "core/imaging/PictureSource.h"
#include "core/io/IoErrorText.h"
#include "core/layout/PageGeometry.h"
#include "gui/app/PixelBudget.h"
#include "gui/layout/PrinterPageSource.h"
#include "gui/output/PaperNames.h"
#include "gui/toolkit/StoredValues.h"
#include "render/AtomicFileDevice.h"
#include "render/OutputFile.h"
#include "render/PageExport.h"
#include "render/PageOptionsFromAlbum.h"
#include "render/PagePrinter.h"
#include "render/SrgbDeclaration.h"

namespace pr {

namespace {

using TextFn = std::function<void(const QString&)>;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The window names a missing picture by its file name only; here there is room for the whole
// path and the reason.
void reportPicture(const std::string& file, const std::string& reason, const TextFn& err) {
    const QString path = native(QString::fromStdString(file));
    err(reason.empty() ? QStringLiteral("Konnte das Bild \"%1\" nicht öffnen!").arg(path)
                       : QStringLiteral("Konnte das Bild \"%1\" nicht öffnen: %2")
                             .arg(path, QString::fromStdString(reason)));
}

// The default printer's paper, margins and orientation, on `printer` at `dpi`. The printable area
// is the page of the layout, as in the window.
bool setUpPage(QPrinter& printer, const PrintArguments& args, const TextFn& err) {
    PrinterPageSource machine;
    QPageLayout layout = machine.printer().pageLayout();
    if (!args.paper.empty()) {
        QPageSize paper;
        // The command line was checked already; a caller of print() may not have done that.
        if (!paperByName(QString::fromStdString(args.paper), paper)) {
            err(QString::fromStdString(CommandLine::unknownPaper(args.paper)));
            err(QString::fromLatin1(CommandLine::kUsageHint));
            return false;
        }
        layout.setPageSize(paper, layout.minimumMargins());
    }
    printer.setResolution(args.dpi);
    printer.setPageLayout(layout);
    return true;
}

// Whether two paths name one file (through links, or as hard links of each other).
bool sameFile(const QString& a, const QString& b) {
    struct stat sa {
    }, sb{};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool refuseInput(const QString& target, const QString& album, const TextFn& err) {
    if (!sameFile(target, album)) return false;
    err(outputFileFailedMessage(target, QString::fromStdString(ioErrorText(kErrorSameAsInput))));
    return true;
}

bool writePdf(const QString& target, const Album& album, const PageRenderOptions& options,
              int pages, const QPrinter& printer, const TextFn& err) {
    const PdfSetup setup{printer.pageLayout(), printer.resolution(),
                         QStringLiteral("Pixo-Rahmler Dokument")};
    const OutputFileResult written = writePdfFile(target, setup, [&](QPagedPaintDevice& device) {
        return PagePrinter::printPages(device, album, options, pages);
    });
    if (!written.ok) err(written.message);
    return written.ok;
}

// The folders of `folder` that do not exist yet, made from the top down; the made ones are
// listed deepest first, for removing them again.
bool makeFolders(const QString& folder, QStringList& made, const TextFn& err) {
    QStringList missing;
    for (QFileInfo f(QFileInfo(folder).absoluteFilePath()); !f.exists() && !f.isRoot();
         f = QFileInfo(f.absolutePath()))
        missing.prepend(f.absoluteFilePath());
    for (const QString& path : missing) {
        if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0 && errno != EEXIST) {
            const QString reason = QString::fromStdString(ioErrorText(errno));
            err(QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.\n%2")
                    .arg(native(path), reason));
            return false;
        }
        made.prepend(path);
    }
    return true;
}

// Every page is written beside its name first; only when all of them are complete do they take
// their names, so a failure leaves the folder as it was (exit status 1: nothing written).
bool writePngs(const QString& folder, const QString& stem, const QString& albumPath,
               const Album& album, PageRenderOptions options, int pages, const PrinterPage& page,
               int dpi, const TextFn& err, const TextFn& out) {
    QStringList madeFolders;
    std::vector<std::unique_ptr<AtomicFileDevice>> files;
    const auto fail = [&](const QString& message) {
        if (!message.isEmpty()) err(message);
        files.clear();  // their temporary files go with them
        for (const QString& made : madeFolders) QDir().rmdir(made);
        return false;
    };
    if (!makeFolders(folder, madeFolders, err)) return fail(QString());
    // Numbers of equal width, so the files sort by page.
    const int digits = int(QString::number(pages).size());
    for (int p = 1; p <= pages; ++p) {
        options.page = p;
        // The album's name is not a pattern: "%1" in it stays as it is.
        const QString path = QDir(folder).filePath(
            stem + QStringLiteral("-%1.png").arg(p, digits, 10, QLatin1Char('0')));
        if (refuseInput(path, albumPath, err)) return fail(QString());
        auto file = std::make_unique<AtomicFileDevice>(path);
        ExportResult r = PageExport::writePage(*file, album, options, page, dpi);
        if (r.ok && !file->finish()) r.message = outputFileFailedMessage(path, file->failureText());
        if (!r.message.isEmpty()) return fail(r.message);
        files.push_back(std::move(file));
    }
    for (const auto& file : files) {
        if (!file->commit())
            return fail(outputFileFailedMessage(file->target(), file->failureText()));
        out(native(file->target()));
    }
    return true;
}

// Qt's notes about the session it runs in (no runtime folder under cron or ssh, debug output) are
// not the user's business here; its real warnings still reach stderr.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    if (type == QtFatalMsg) std::abort();
}

}  // namespace

int CommandLinePrint::pageCount(const Album& album) {
    // The same last page as the window's "Seitenzahl" after opening the album.
    return std::max(1, album.lastPlacementPage(kPageMax));
}

int CommandLinePrint::print(const PrintArguments& args, const TextFn& err, const TextFn& out) {
    const bool pdf = args.output == PrintArguments::Output::Pdf;
    const QString target = QString::fromStdString(args.target);
    const QString albumPath = QFile::decodeName(args.album.c_str());
    if (pdf && refuseInput(target, albumPath, err)) return Failed;

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    declareSrgb(printer);
    printer.setCreator(QStringLiteral("Pixo-Rahmler"));
    printer.setDocName(QStringLiteral("Pixo-Rahmler Dokument"));
    if (!setUpPage(printer, args, err)) return WrongCall;
    const PrinterPage page = PrinterPageSource::pageOf(printer);

    Album album;
    const OldPageGeometry geometry{double(page.printableWidthPx), double(page.printableHeightPx),
                                   double(page.ppiX)};
    const AlbumOpenResult opened = openAlbumFile(args.album, album, AlbumSettings{}, geometry,
                                                 albumPictureSourceOfRasterLibrary(false), 2);
    if (!opened.ok) {
        // The reader's texts are made for a box over the window; here the album is named too.
        for (const std::string& m : opened.messages)
            err(native(QString::fromStdString(args.album)) + QStringLiteral(": ") +
                QString::fromStdString(m));
        return Failed;
    }
    for (const PictureLoadFailure& f : opened.failures) reportPicture(f.path, f.reason, err);
    bool missing = !opened.failures.empty();
    takePictureDecodeFailures();  // only those of this album's pages count

    // What "Go!" does first: pictures too coarse for their frames are raised to the minimum
    // quality, so the paper looks as it does when printed from the window.
    const QualitySettings quality{opened.settings.EnhanceQualCheck,
                                  static_cast<int>(opened.settings.MinQual)};
    for (QualityOutcome outcome : Checkallquals(album, quality))
        err(QString::fromStdString(qualityMessage(outcome).text));

    PageRenderOptions options = pageOptionsFromAlbum(opened.settings);
    // Cut marks are the user's choice on the output tab, not the album's.
    const std::unique_ptr<QSettings> stored = StoredValues::openSettings();
    options.cutMarks = stored->value(QStringLiteral("TMainForm/CutMarksCheck.Checked")).toBool();
    const int pages = pageCount(album);
    bool written;
    if (pdf) {
        written = writePdf(target, album, options, pages, printer, err);
        if (written)
            out(QStringLiteral("%1 Seite(n) geschrieben: %2")
                    .arg(QString::number(pages), native(target)));
    } else {
        const QString stem = QFileInfo(albumPath).completeBaseName();
        written =
            writePngs(target, stem, albumPath, album, options, pages, page, args.dpi, err, out);
    }
    album.DelallPics();
    if (!written) return Failed;
    // Files judged by their header alone may still break when their pixels are decoded.
    for (const PictureDecodeFailure& f : takePictureDecodeFailures()) {
        reportPicture(f.path, f.reason, err);
        missing = true;
    }
    return missing ? PicturesMissing : Done;
}

int CommandLinePrint::run(int argc, char** argv, const CommandLine& line) {
    // Nothing is shown, so no display is needed, and none is touched when there is one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    applyPixelBudget(kPrintPixelBudget);
    auto toStream = [](FILE* stream) {
        return [stream](const QString& text) {
            const QByteArray bytes = text.toLocal8Bit();
            std::fprintf(stream, "%s\n", bytes.constData());
            std::fflush(stream);
        };
    };
    // One line per message: a second line of a message box's text joins the first.
    auto err = [&toStream](const QString& text) {
        toStream(stderr)(QStringLiteral("pixo-rahmler: ") +
                         QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    };
    if (line.mode == CommandLine::Mode::Help) {
        toStream(stdout)(QString::fromStdString(CommandLine::usage()));
        return Done;
    }
    if (!line.ok()) {
        err(QString::fromStdString(line.error));
        err(QString::fromLatin1(CommandLine::kUsageHint));
        return WrongCall;
    }
    return print(line.print, err, toStream(stdout));
}

}  // namespace pr
