#include "gui/output/CommandLinePrint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/album/Album.h"
#include "core/album/AlbumFileApply.h"
#include "core/album/QualityCheck.h"
#include "core/layout/PageGeometry.h"
#include "gui/layout/PrinterPageSource.h"
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

// "A4", "letter", "Legal" ...: the names Qt knows its page sizes by, in any case.
bool paperByName(const std::string& name, QPageSize& out) {
    const QString wanted = QString::fromStdString(name);
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const auto sizeId = static_cast<QPageSize::PageSizeId>(id);
        if (sizeId == QPageSize::Custom) continue;
        if (QPageSize::key(sizeId).compare(wanted, Qt::CaseInsensitive) == 0) {
            out = QPageSize(sizeId);
            return true;
        }
    }
    return false;
}

// The default printer's paper, margins and orientation, on `printer` at `dpi`. The printable area
// is the page of the layout, as in the window.
bool setUpPage(QPrinter& printer, const PrintArguments& args, const TextFn& err) {
    PrinterPageSource machine;
    QPageLayout layout = machine.printer().pageLayout();
    if (!args.paper.empty()) {
        QPageSize paper;
        if (!paperByName(args.paper, paper)) {
            err(QStringLiteral("Das Papierformat \"%1\" ist unbekannt. Möglich sind zum Beispiel "
                               "A4, A5, A3, Letter und Legal.")
                    .arg(QString::fromStdString(args.paper)));
            return false;
        }
        layout.setPageSize(paper, layout.minimumMargins());
    }
    printer.setResolution(args.dpi);
    printer.setPageLayout(layout);
    return true;
}

bool writePdf(const QString& target, const Album& album, const PageRenderOptions& options,
              int pages, QPrinter& printer, const TextFn& err) {
    // Written beside the target and put in its place only when complete, so a failure never
    // leaves half a document under the name asked for, nor destroys an older one.
    const QFileInfo info(target);
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                        QStringLiteral(".XXXXXX"));
    temp.setAutoRemove(true);
    if (!temp.open()) {
        err(QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden: %2")
                .arg(native(target), temp.errorString()));
        return false;
    }
    temp.close();
    printer.setOutputFileName(temp.fileName());
    if (!PagePrinter::printPages(printer, album, options, pages) ||
        QFileInfo(temp.fileName()).size() == 0) {
        err(QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden.")
                .arg(native(target)));
        return false;
    }
    // A temporary file is private to its owner; the document gets the usual rights.
    QFile::setPermissions(temp.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // rename() replaces an older document in one step.
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        err(QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: %2")
                .arg(native(target), QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}

bool writePngs(const QString& folder, const QString& stem, const Album& album,
               PageRenderOptions options, int pages, const PrinterPage& page, int dpi,
               const TextFn& err, const TextFn& out) {
    if (!QDir().mkpath(folder)) {
        err(QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(native(folder)));
        return false;
    }
    // Numbers of equal width, so the files sort by page.
    const int digits = int(QString::number(pages).size());
    for (int p = 1; p <= pages; ++p) {
        options.page = p;
        const QString path = QDir(folder).filePath(
            QStringLiteral("%1-%2.png").arg(stem).arg(p, digits, 10, QLatin1Char('0')));
        const ExportResult r = PageExport::exportPage(path, album, options, page, dpi);
        if (!r.ok) {
            err(r.message);
            return false;
        }
        out(native(path));
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
    int last = 1;
    for (uint32_t i = 0; i < album.placementCount(); ++i) {
        const int page = album.placementAt(i)->Page;
        if (page > last && page <= kPageMax) last = page;
    }
    return last;
}

int CommandLinePrint::print(const PrintArguments& args, const TextFn& err, const TextFn& out) {
    const bool pdf = args.output == PrintArguments::Output::Pdf;
    const QString target = QString::fromStdString(args.target);

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
                                                 albumPictureSourceOfRasterLibrary(), 2);
    if (!opened.ok) {
        // The reader's texts are made for a box over the window; here the album is named too.
        for (const std::string& m : opened.messages)
            err(native(QString::fromStdString(args.album)) + QStringLiteral(": ") +
                QString::fromStdString(m));
        return Failed;
    }
    for (const std::string& m : opened.messages) err(QString::fromStdString(m));
    const bool missing = !opened.messages.empty();

    // What "Go!" does first: pictures too coarse for their frames are raised to the minimum
    // quality, so the paper looks as it does when printed from the window.
    const QualitySettings quality{opened.settings.EnhanceQualCheck,
                                  static_cast<int>(opened.settings.MinQual)};
    for (QualityOutcome outcome : Checkallquals(album, quality))
        err(QString::fromStdString(qualityMessage(outcome).text));

    const PageRenderOptions options = pageOptionsFromAlbum(opened.settings);
    const int pages = pageCount(album);
    bool written;
    if (pdf) {
        written = writePdf(target, album, options, pages, printer, err);
        if (written)
            out(QStringLiteral("%1 Seite(n) geschrieben: %2").arg(pages).arg(native(target)));
    } else {
        const QString stem = QFileInfo(QString::fromStdString(args.album)).completeBaseName();
        written = writePngs(target, stem, album, options, pages, page, args.dpi, err, out);
    }
    album.DelallPics();
    if (!written) return Failed;
    return missing ? PicturesMissing : Done;
}

int CommandLinePrint::run(int argc, char** argv, const CommandLine& line) {
    // Nothing is shown, so no display is needed, and none is touched when there is one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    auto toStream = [](FILE* stream) {
        return [stream](const QString& text) {
            const QByteArray bytes = text.toLocal8Bit();
            std::fprintf(stream, "%s\n", bytes.constData());
            std::fflush(stream);
        };
    };
    auto err = [&toStream](const QString& text) {
        toStream(stderr)(QStringLiteral("pixo-rahmler: ") + text);
    };
    if (line.mode == CommandLine::Mode::Help) {
        toStream(stdout)(QString::fromStdString(CommandLine::usage()));
        return Done;
    }
    if (!line.ok()) {
        err(QString::fromStdString(line.error));
        err(QStringLiteral("Aufruf: pixo-rahmler --help"));
        return WrongCall;
    }
    return print(line.print, err, toStream(stdout));
}

}  // namespace pr
