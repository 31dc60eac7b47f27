// Albums of hundreds of phone photos: how long opening, repainting a page and printing every page
// into a PDF at 300 dpi take, how much memory the process needs at its peak, and how large the PDF
// is per placement; beside img2pdf on the same files (it only copies the JPEG bytes) when it is
// installed.
//
// Each album size runs in a child process of its own, so its peak resident memory is its own
// (taken from wait4). The photos are 12 megapixels; an album of N holds N copies of one photo under
// distinct names (hard links), placed four to a page.
//
//   bench_album_scale [N ...]             default 50 200 500
//   bench_album_scale --make DIR N        N different photos and DIR/album.pxr, for measuring
//                                         the program itself (pixo-rahmler --pdf out.pdf album.pxr)
//   bench_album_scale --copies DIR N      N copies (hard links) of one photo and DIR/album.pxr

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchPhotos.h"
#include "core/album/Album.h"
#include "core/album/AlbumFileApply.h"
#include "core/album/AlbumFileWriter.h"
#include "core/imaging/PictureSource.h"
#include "core/imaging/RenditionCache.h"
#include "render/OutputFile.h"
#include "render/PageOptionsFromAlbum.h"
#include "render/PagePrinter.h"
#include "render/PageRenderer.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPhotoWidth = 4000, kPhotoHeight = 3000;  // 12 MP
constexpr int kPerPage = 4;
// A4 at 96 dpi with the usual margins: the page the window shows at 100 %.
constexpr int kScreenPpi = 96;
constexpr double kPageWidthInches = 7.8, kPageHeightInches = 11.2;

bool writePhoto(const std::string& path, unsigned seed) {
    QImage photo(kPhotoWidth, kPhotoHeight, QImage::Format_RGB888);
    std::vector<uint8_t> row;
    std::mt19937 rng(seed);
    for (int y = 0; y < photo.height(); ++y) {
        // Shifted by the seed, so that different photos differ everywhere.
        bench::photoRow(row, (y + int(seed) * 37) % kPhotoHeight, photo.width(), photo.height(),
                        rng);
        std::copy(row.begin(), row.end(), photo.scanLine(y));
    }
    return photo.save(QString::fromStdString(path), "JPG", 90);
}

// Four frames of 3.7 x 2.8 inches on every page, in reading order.
void placeFourToAPage(pr::Album& album, int pictures) {
    for (int i = 0; i < pictures; ++i) {
        const int slot = i % kPerPage;
        auto* p = reinterpret_cast<pr::Placement*>(album.Placements.Append());
        *p = pr::Placement{0.1 + (slot % 2) * 3.9, 0.1 + (slot / 2) * 3.0, 3.7, 2.8,
                           i / kPerPage + 1,       album.Pictures[i].Key,  0,   {}};
    }
}

bool writeAlbum(const std::string& albumPath, const std::vector<std::string>& photos) {
    pr::Album album;
    for (const std::string& path : photos) {
        pr::PictureInspection seen = pr::inspectPictureFile(path);
        if (!seen.ok) return false;
        album.addPicture(path, seen.source);
    }
    placeFourToAPage(album, int(photos.size()));
    return pr::saveAlbumFile(albumPath, album, pr::AlbumSettings{}).ok;
}

double seconds(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e9;
}

// Runs in the child: open, repaint page 1 at 25 % and 100 %, print every page at 300 dpi.
int measureAlbum(const std::string& albumPath, const std::string& pdfPath) {
    int argc = 1;
    char name[] = "bench_album_scale";
    char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QElapsedTimer t;
    t.start();
    pr::Album album;
    const pr::OldPageGeometry geometry{kPageWidthInches * kScreenPpi,
                                       kPageHeightInches * kScreenPpi, double(kScreenPpi)};
    const pr::AlbumOpenResult opened =
        pr::openAlbumFile(albumPath, album, pr::AlbumSettings{}, geometry,
                          pr::albumPictureSourceOfRasterLibrary(), 2);
    if (!opened.ok) {
        std::fprintf(stderr, "the album could not be opened\n");
        return 1;
    }
    // The strip: every picture's thumbnail.
    for (const pr::AlbumImage& picture : album.Pictures) picture.Source->thumbnail();
    const double openSeconds = seconds(t);

    pr::PageRenderOptions options = pr::pageOptionsFromAlbum(opened.settings);
    options.ppi = kScreenPpi;
    double paintSeconds[2] = {};
    const int zooms[2] = {25, 100};
    for (int z = 0; z < 2; ++z) {
        options.zoom = zooms[z];
        const QSize sheet(int(kPageWidthInches * kScreenPpi * zooms[z] / 100),
                          int(kPageHeightInches * kScreenPpi * zooms[z] / 100));
        QImage page(sheet, QImage::Format_RGB32);
        t.restart();
        QPainter painter(&page);
        pr::PageRenderer::render(painter, album, options, sheet);
        painter.end();
        paintSeconds[z] = seconds(t);
    }

    const int pages = (album.PictureCount() + kPerPage - 1) / kPerPage;
    pr::PdfSetup setup{QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter),
                       300, QStringLiteral("bench")};
    t.restart();
    const pr::OutputFileResult written =
        pr::writePdfFile(QString::fromStdString(pdfPath), setup, [&](QPagedPaintDevice& device) {
            return pr::PagePrinter::printPages(device, album, options, pages);
        });
    const double pdfSeconds = seconds(t);
    if (!written.ok) {
        std::fprintf(stderr, "%s\n", written.message.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%.2f %.1f %.1f %.2f\n", openSeconds, paintSeconds[0] * 1000,
                paintSeconds[1] * 1000, pdfSeconds);
    return 0;
}

struct ChildRun {
    bool ok = false;
    double wallSeconds = 0;
    double peakMb = 0;
    std::string output;
};

// Runs `body` (in a forked child, its stdout captured) or `program` with `args`.
ChildRun runChild(const std::function<int()>& body, const std::vector<std::string>& command) {
    ChildRun run;
    // Whatever is still buffered would be written by the child too.
    std::fflush(stdout);
    std::fflush(stderr);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return run;
    QElapsedTimer t;
    t.start();
    const pid_t pid = ::fork();
    if (pid < 0) return run;
    if (pid == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        if (body) {
            const int status = body();
            std::fflush(stdout);
            ::_exit(status);
        }
        std::vector<char*> argv;
        for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    char buffer[512];
    ssize_t got;
    while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) run.output.append(buffer, got);
    ::close(pipeFds[0]);
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    run.wallSeconds = seconds(t);
    run.peakMb = double(usage.ru_maxrss) / 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

bool img2pdfInstalled() {
    return std::system("command -v img2pdf > /dev/null 2>&1") == 0;
}

// N photos, all different or N names of one, and their album in `folder`.
int makeAlbum(const std::string& folder, int count, bool distinct) {
    fs::create_directories(folder);
    std::vector<std::string> photos;
    for (int i = 0; i < count; ++i) {
        const std::string path = folder + "/foto-" + std::to_string(1000 + i) + ".jpg";
        if (distinct || i == 0) {
            if (!writePhoto(path, unsigned(i + 1))) return 1;
        } else {
            std::error_code ec;
            fs::create_hard_link(photos.front(), path, ec);
            if (ec) fs::copy_file(photos.front(), path);
        }
        photos.push_back(path);
    }
    return writeAlbum(folder + "/album.pxr", photos) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && (std::string(argv[1]) == "--make" || std::string(argv[1]) == "--copies")) {
        QGuiApplication app(argc, argv);
        return makeAlbum(argv[2], std::atoi(argv[3]), std::string(argv[1]) == "--make");
    }
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {50, 200, 500};

    bench::ScratchFolder scratch("pxr-bench-album-");
    const std::string original = (scratch.dir / "original.jpg").string();
    {
        // The photo is made in a child, so that no Qt state is inherited by the measured ones.
        const ChildRun made = runChild(
            [&] {
                int one = 1;
                char name[] = "bench_album_scale";
                char* args[] = {name, nullptr};
                qputenv("QT_QPA_PLATFORM", "offscreen");
                QGuiApplication app(one, args);
                return writePhoto(original, 1) ? 0 : 1;
            },
            {});
        if (!made.ok) {
            std::fprintf(stderr, "the photo could not be made\n");
            return 1;
        }
    }
    const bool withImg2pdf = img2pdfInstalled();
    std::printf("12 MP JPEG of %.1f MB, %d to a page, PDF at 300 dpi, pixel budget %zu MB%s\n",
                double(fs::file_size(original)) / 1e6, kPerPage,
                pr::RenditionCache::kDefaultBudget >> 20,
                withImg2pdf ? "" : " (img2pdf not installed: no comparison)");
    std::printf("%6s %8s %9s %10s %8s %9s %10s | %10s %9s %10s\n", "photos", "open s", "page25 ms",
                "page100 ms", "pdf s", "peak MB", "KB/placed", "img2pdf s", "peak MB", "KB/placed");
    for (int n : sizes) {
        const fs::path folder = scratch.dir / ("album-" + std::to_string(n));
        fs::create_directories(folder);
        std::vector<std::string> photos;
        for (int i = 0; i < n; ++i) {
            const fs::path path = folder / ("foto-" + std::to_string(10000 + i) + ".jpg");
            std::error_code ec;
            fs::create_hard_link(original, path, ec);
            if (ec) fs::copy_file(original, path);
            photos.push_back(path.string());
        }
        const std::string albumPath = (folder / "album.pxr").string();
        const std::string pdfPath = (folder / "album.pdf").string();
        const ChildRun written = runChild(
            [&] {
                int one = 1;
                char name[] = "bench_album_scale";
                char* args[] = {name, nullptr};
                qputenv("QT_QPA_PLATFORM", "offscreen");
                QGuiApplication app(one, args);
                return writeAlbum(albumPath, photos) ? 0 : 1;
            },
            {});
        if (!written.ok) {
            std::fprintf(stderr, "the album of %d could not be written\n", n);
            return 1;
        }
        const ChildRun ours = runChild([&] { return measureAlbum(albumPath, pdfPath); }, {});
        double open = 0, page25 = 0, page100 = 0, pdf = 0;
        if (!ours.ok || std::sscanf(ours.output.c_str(), "%lf %lf %lf %lf", &open, &page25,
                                    &page100, &pdf) != 4) {
            std::fprintf(stderr, "the album of %d failed: %s\n", n, ours.output.c_str());
            return 1;
        }
        const double ourKb = double(fs::file_size(pdfPath)) / 1024.0 / n;
        std::printf("%6d %8.2f %9.1f %10.1f %8.2f %9.0f %10.0f |", n, open, page25, page100, pdf,
                    ours.peakMb, ourKb);
        if (withImg2pdf) {
            const std::string theirPdf = (folder / "img2pdf.pdf").string();
            std::vector<std::string> command{"img2pdf", "-o", theirPdf};
            command.insert(command.end(), photos.begin(), photos.end());
            const ChildRun theirs = runChild({}, command);
            if (theirs.ok)
                std::printf(" %10.2f %9.0f %10.0f", theirs.wallSeconds, theirs.peakMb,
                            double(fs::file_size(theirPdf)) / 1024.0 / n);
            else
                std::printf(" %10s", "failed");
            fs::remove(theirPdf);
        }
        std::printf("\n");
        std::fflush(stdout);
        fs::remove_all(folder);
    }
    std::printf(
        "Before (every picture decoded whole while the album is open): --pdf of 200 "
        "different 12 MP photos took 41.5 s and 6971 MB (img2pdf 3.7 s, 869 MB).\n");
    return 0;
}
