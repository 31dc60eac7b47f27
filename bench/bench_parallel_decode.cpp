// Adding twenty 24-megapixel JPEGs to an album (decodePictureFiles) and opening an album of twenty
// 24-megapixel JPEGs (openAlbumFile), each with one loader thread and with one per core, in one
// run. The speed-up is the ratio of the two items_per_second figures of each pair.
//
// The pictures are made at start in a scratch folder: one photo-like picture encoded with libjpeg
// (quality 92) and copied to twenty names, since decoding cost does not depend on which of them it
// is. Wall-clock time is measured, as the work runs on several threads.

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "BenchPhotos.h"
#include "core/album/Album.h"
#include "core/album/AlbumFileApply.h"
#include "core/album/AlbumFileWriter.h"
#include "core/album/PictureDecoding.h"

namespace {

constexpr int kWidth = 6000, kHeight = 4000, kPictures = 20;

bool writeJpeg(const std::string& path) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 92, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row;
    std::mt19937 rng(1);
    for (int y = 0; y < kHeight; ++y) {
        bench::photoRow(row, y, kWidth, kHeight, rng);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(out) == 0;
}

struct Pictures {
    bench::ScratchFolder scratch{"pxr-bench-parallel-"};
    const std::filesystem::path& dir = scratch.dir;
    std::vector<std::string> paths;
    std::string album;
    bool ok = false;

    Pictures() {
        const std::string first = (dir / "foto00.jpg").string();
        if (!writeJpeg(first)) return;
        pr::Album a;
        for (int i = 0; i < kPictures; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "foto%02d.jpg", i);
            const std::string path = (dir / name).string();
            if (i > 0) std::filesystem::copy_file(first, path);
            paths.push_back(path);
            pr::ImageBuffer stub;  // the album file keeps paths only
            pr::newdib(stub, 1, 1, 24);
            a.addPicture(path, stub);
        }
        album = (dir / "urlaub.pxr").string();
        ok = pr::saveAlbumFile(album, a, pr::AlbumSettings{}).ok;
    }
};

Pictures& pictures() {
    static Pictures p;
    return p;
}

unsigned threadsOf(const benchmark::State& state) {
    return state.range(0) == 0 ? std::max(1u, std::thread::hardware_concurrency())
                               : static_cast<unsigned>(state.range(0));
}

void BM_AddTwentyPictures(benchmark::State& state) {
    Pictures& p = pictures();
    if (!p.ok) return state.SkipWithError("could not make the pictures");
    const unsigned threads = threadsOf(state);
    for (auto _ : state) {
        std::vector<pr::ImageBuffer> decoded = pr::decodePictureFiles(p.paths, threads);
        for (const pr::ImageBuffer& b : decoded)
            if (!b.valid()) return state.SkipWithError("a picture did not decode");
        benchmark::DoNotOptimize(decoded.data());
        state.PauseTiming();
        decoded.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kPictures);
    state.SetLabel(std::to_string(threads) + " thread(s)");
}

void BM_OpenAlbumOfTwenty(benchmark::State& state) {
    Pictures& p = pictures();
    if (!p.ok) return state.SkipWithError("could not make the pictures");
    const unsigned threads = threadsOf(state);
    const pr::OldPageGeometry page{4800, 6600, 600};
    const pr::AlbumPictureSource source = pr::albumPictureSourceOfRasterLibrary();
    for (auto _ : state) {
        auto album = std::make_unique<pr::Album>();
        const pr::AlbumOpenResult r =
            pr::openAlbumFile(p.album, *album, pr::AlbumSettings{}, page, source, threads);
        if (!r.ok || !r.messages.empty() || album->PictureCount() != kPictures)
            return state.SkipWithError("the album did not open completely");
        state.PauseTiming();
        album.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kPictures);
    state.SetLabel(std::to_string(threads) + " thread(s)");
}

// 1: one after another; 0: one loader thread per core.
BENCHMARK(BM_AddTwentyPictures)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAlbumOfTwenty)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
