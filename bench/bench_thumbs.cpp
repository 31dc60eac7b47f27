// Thumbnails for a cold folder of 50 JPEGs of 24 megapixels (made at start with cjpeg -quality 92
// from one generated PPM): the reduced-size decode (DCT scaling) the browser uses against a full
// decode plus Resize, `vipsthumbnail -s 80` over the same files one after another (when
// libvips-tools is installed), and the same folder warm from its cache file (index, check value of
// each file, one stored thumbnail per file; no picture opened). Items are thumbnails.

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BenchPhotos.h"
#include "core/browse/FileCheck.h"
#include "core/browse/ThumbCacheReader.h"
#include "core/browse/ThumbCacheWriter.h"
#include "core/browse/ThumbStep.h"
#include "core/browse/ThumbnailSize.h"
#include "core/imaging/RasterLibrary.h"
#include "core/imaging/Resize.h"

namespace {

constexpr int kWidth = 6000, kHeight = 4000, kFiles = 50;

struct Folder {
    bench::ScratchFolder scratch{"pxr-bench-thumbs-"};
    const std::filesystem::path& dir = scratch.dir;
    std::vector<pr::ThumbJob> jobs;
    bool ok = false;

    Folder() {
        const std::string ppm = (dir / "src.ppm").string();
        bench::writePhotoPpm(ppm, kWidth, kHeight);
        const std::string first = (dir / "foto00.jpg").string();
        ok = std::system(("cjpeg -quality 92 -outfile '" + first + "' '" + ppm + "'").c_str()) == 0;
        std::filesystem::remove(ppm);
        for (int i = 0; ok && i < kFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "foto%02d.jpg", i);
            const std::string path = (dir / name).string();
            if (i > 0) std::filesystem::copy_file(first, path);
            jobs.push_back(pr::ThumbJob{name, path, pr::kFormatJpg, 1});
        }
    }
};

Folder& folder() {
    static Folder f;
    return f;
}

void BM_ThumbnailsReducedDecode(benchmark::State& state) {
    Folder& f = folder();
    if (!f.ok) return state.SkipWithError("cjpeg failed");
    for (auto _ : state) {
        for (const pr::ThumbJob& job : f.jobs) {
            std::optional<pr::ThumbCell> cell = pr::makeThumbnail(job);
            if (!cell) return state.SkipWithError("no thumbnail");
            benchmark::DoNotOptimize(cell->thumbnail.bits);
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_ThumbnailsReducedDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ThumbnailsFullDecodeAndResize(benchmark::State& state) {
    Folder& f = folder();
    if (!f.ok) return state.SkipWithError("cjpeg failed");
    for (auto _ : state) {
        for (const pr::ThumbJob& job : f.jobs) {
            pr::ImageBuffer picture, thumbnail;
            if (!pr::OpenDib(picture, job.path, job.formatCode))
                return state.SkipWithError("decode failed");
            const auto size = pr::thumbnailSizeFor(picture.width(), picture.height());
            pr::Resize(picture, size->width, size->height, true, thumbnail);
            benchmark::DoNotOptimize(thumbnail.bits);
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_ThumbnailsFullDecodeAndResize)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor for the reduced decode: libjpeg-turbo alone at 1/8 scale into a plain buffer, from
// the file's bytes (read each time, as the browser does).
void BM_LibjpegScaledDecodeAlone(benchmark::State& state) {
    Folder& f = folder();
    if (!f.ok) return state.SkipWithError("cjpeg failed");
    for (auto _ : state) {
        for (const pr::ThumbJob& job : f.jobs) {
            std::ifstream in(job.path, std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
            jpeg_decompress_struct cinfo;
            jpeg_error_mgr err;
            cinfo.err = jpeg_std_error(&err);
            jpeg_create_decompress(&cinfo);
            jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
            jpeg_read_header(&cinfo, TRUE);
            cinfo.scale_num = 1;
            cinfo.scale_denom = 8;
            jpeg_start_decompress(&cinfo);
            std::vector<uint8_t> pixels(static_cast<size_t>(cinfo.output_width) *
                                        cinfo.output_height * cinfo.output_components);
            while (cinfo.output_scanline < cinfo.output_height) {
                JSAMPROW row = pixels.data() + static_cast<size_t>(cinfo.output_scanline) *
                                                   cinfo.output_width * cinfo.output_components;
                jpeg_read_scanlines(&cinfo, &row, 1);
            }
            jpeg_finish_decompress(&cinfo);
            jpeg_destroy_decompress(&cinfo);
            benchmark::DoNotOptimize(pixels.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_LibjpegScaledDecodeAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: libvips' own thumbnailer over the same files in one process, one after another,
// on one thread like the browser's loader.
void BM_VipsThumbnailOneAfterAnother(benchmark::State& state) {
    Folder& f = folder();
    if (!f.ok) return state.SkipWithError("cjpeg failed");
    if (std::system("command -v vipsthumbnail >/dev/null 2>&1") != 0)
        return state.SkipWithError("vipsthumbnail missing (libvips-tools)");
    const std::filesystem::path out = f.dir / "vips";
    std::filesystem::create_directories(out);
    std::string command = "VIPS_CONCURRENCY=1 vipsthumbnail -s 80 -o '" + out.string() + "/%s.jpg'";
    for (const pr::ThumbJob& job : f.jobs) command += " '" + job.path + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) return state.SkipWithError("vipsthumbnail failed");
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_VipsThumbnailOneAfterAnother)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a warm run does per file on the window thread, minus drawing: open the index once, then
// for each directory entry the extension, the check value and the stored thumbnail.
void BM_ThumbnailsFromCache(benchmark::State& state) {
    Folder& f = folder();
    if (!f.ok) return state.SkipWithError("cjpeg failed");
    std::vector<pr::ThumbCell> cells;
    for (const pr::ThumbJob& job : f.jobs) {
        pr::ThumbJob checked = job;
        checked.check = *pr::fileCheck(job.path);
        cells.push_back(*pr::makeThumbnail(checked));
    }
    if (pr::saveThumbCache(f.dir.string(), cells) != pr::CacheSaveResult::Saved)
        return state.SkipWithError("cache not written");
    for (auto _ : state) {
        const pr::ThumbCacheReader cache = pr::ThumbCacheReader::openFolder(f.dir.string());
        for (const pr::ThumbJob& job : f.jobs) {
            const pr::ThumbLookupResult r = pr::lookUpThumbnail(f.dir.string(), job.name, cache);
            if (r.kind != pr::ThumbLookup::FromCache) return state.SkipWithError("cache missed");
            benchmark::DoNotOptimize(r.cell.thumbnail.bits);
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_ThumbnailsFromCache)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
