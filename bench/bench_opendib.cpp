// Decode throughput of OpenDib against libjpeg-turbo alone, on 24-megapixel pictures made at start
// in a scratch folder (cjpeg -quality 92, pnmtopng, pamtotiff -lzw, ppmtobmp from one generated
// PPM).
//
// The libjpeg-turbo baselines decode the same file from memory into a freshly allocated plain
// buffer, as OpenDib does into a fresh picture, so both pay for the same page faults.

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchPhotos.h"
#include "core/imaging/RasterLibrary.h"

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

struct Files {
    bench::ScratchFolder scratch{"pxr-bench-"};
    const std::filesystem::path& dir = scratch.dir;
    std::string jpeg, jpegAdobe, png, tiff, bmp;
    std::vector<uint8_t> jpegBytes;
    Files() {
        const std::string ppm = (dir / "src.ppm").string();
        bench::writePhotoPpm(ppm, kWidth, kHeight);
        jpeg = (dir / "pic.jpg").string();
        png = (dir / "pic.png").string();
        tiff = (dir / "pic.tif").string();
        bmp = (dir / "pic.bmp").string();
        auto run = [](const std::string& cmd) {
            if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", cmd.c_str());
        };
        run("cjpeg -quality 92 -outfile " + jpeg + " " + ppm);
        // The same JPEG data with an Adobe RGB profile: the difference is the colour conversion.
        jpegAdobe = (dir / "adobe.jpg").string();
        run("cp " + jpeg + " " + jpegAdobe +
            " && exiftool -q -overwrite_original "
            "'-ICC_Profile<=/usr/share/color/icc/compatibleWithAdobeRGB1998.icc' " +
            jpegAdobe);
        run("pnmtopng -force " + ppm + " > " + png + " 2>/dev/null");
        run("pamtotiff -lzw " + ppm + " > " + tiff + " 2>/dev/null");
        run("ppmtobmp -bpp 24 " + ppm + " > " + bmp + " 2>/dev/null");
        std::ifstream in(jpeg, std::ios::binary);
        jpegBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

Files& files() {
    static Files f;
    return f;
}

void setCounters(benchmark::State& state, double pixels) {
    state.counters["MP/s"] =
        benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// libjpeg-turbo on its own: the file in memory, decoded into a plain RGB buffer.
void libjpegDecode(const std::vector<uint8_t>& bytes, int denom, benchmark::State& state) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = denom;
    jpeg_start_decompress(&cinfo);
    const size_t stride = static_cast<size_t>(cinfo.output_width) * cinfo.output_components;
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[stride * cinfo.output_height]);
    // Several rows per call, as libjpeg-turbo's own tools do: one row at a time costs an extra copy
    // through libjpeg's spare row when the chroma is subsampled vertically.
    JSAMPROW rows[16];
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION n = std::min<JDIMENSION>(16, cinfo.output_height - cinfo.output_scanline);
        for (JDIMENSION i = 0; i < n; ++i)
            rows[i] = buffer.get() + stride * (cinfo.output_scanline + i);
        jpeg_read_scanlines(&cinfo, rows, n);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(buffer.get());
    (void)state;
}

void BM_LibjpegFull(benchmark::State& state) {
    const auto& bytes = files().jpegBytes;
    for (auto _ : state) libjpegDecode(bytes, 1, state);
    setCounters(state, double(kWidth) * kHeight);
}

void BM_OpenDibJpeg(benchmark::State& state) {
    const std::string& path = files().jpeg;
    for (auto _ : state) {
        pr::ImageBuffer img;
        if (!pr::OpenDib(img, path, pr::kFormatJpg)) state.SkipWithError(img.message.c_str());
        benchmark::DoNotOptimize(img.bits);
    }
    setCounters(state, double(kWidth) * kHeight);
}

void BM_OpenDibJpegAdobeRgb(benchmark::State& state) {
    const std::string& path = files().jpegAdobe;
    for (auto _ : state) {
        pr::ImageBuffer img;
        if (!pr::OpenDib(img, path, pr::kFormatJpg)) state.SkipWithError(img.message.c_str());
        benchmark::DoNotOptimize(img.bits);
    }
    setCounters(state, double(kWidth) * kHeight);
}

void BM_LibjpegEighth(benchmark::State& state) {
    const auto& bytes = files().jpegBytes;
    for (auto _ : state) libjpegDecode(bytes, 8, state);
    setCounters(state, double(kWidth) * kHeight);
}

void BM_OpenDibReducedJpeg80(benchmark::State& state) {
    const std::string& path = files().jpeg;
    for (auto _ : state) {
        pr::ImageBuffer img;
        const pr::DecodeResult r = pr::OpenDibReduced(img, path, 80, 80);
        if (!r.ok()) state.SkipWithError(img.message.c_str());
        benchmark::DoNotOptimize(img.bits);
    }
    setCounters(state, double(kWidth) * kHeight);
}

void BM_OpenDibPng(benchmark::State& state) {
    const std::string& path = files().png;
    for (auto _ : state) {
        pr::ImageBuffer img;
        if (!pr::OpenDib(img, path, pr::kFormatPng)) state.SkipWithError(img.message.c_str());
        benchmark::DoNotOptimize(img.bits);
    }
    setCounters(state, double(kWidth) * kHeight);
}

void BM_OpenDibTiffLzw(benchmark::State& state) {
    const std::string& path = files().tiff;
    for (auto _ : state) {
        pr::ImageBuffer img;
        if (!pr::OpenDib(img, path, pr::kFormatTif)) state.SkipWithError(img.message.c_str());
        benchmark::DoNotOptimize(img.bits);
    }
    setCounters(state, double(kWidth) * kHeight);
}

void BM_OpenDibBmp(benchmark::State& state) {
    const std::string& path = files().bmp;
    for (auto _ : state) {
        pr::ImageBuffer img;
        if (!pr::OpenDib(img, path, pr::kFormatBmp)) state.SkipWithError(img.message.c_str());
        benchmark::DoNotOptimize(img.bits);
    }
    setCounters(state, double(kWidth) * kHeight);
}

}  // namespace

// The JPEG pairs sit next to each other so their ratio is read off one run.
BENCHMARK(BM_LibjpegFull)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_OpenDibJpeg)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_OpenDibJpegAdobeRgb)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_LibjpegEighth)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_OpenDibReducedJpeg80)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_OpenDibPng)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_OpenDibTiffLzw)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_OpenDibBmp)->Unit(benchmark::kMillisecond)->MinTime(2);

BENCHMARK_MAIN();
