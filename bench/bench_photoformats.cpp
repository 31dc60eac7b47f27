// Decode time of today's photo formats against their own libraries, on 12-megapixel photos made
// at start in a scratch folder (heif-enc, cwebp, avifenc, cjxl from one generated PPM).
//
// Each pair decodes the same bytes from memory: the library alone into its own RGB buffer (what
// heif-convert, dwebp, avifdec and djxl do before they write a file), and decodePicture into a
// finished picture (bottom-up BGR rows, colours converted, alpha over white, turned upright).
// The Adobe RGB WebP shows what the colour conversion adds to a decode. The CPU column counts
// every thread of the process, which is the fairer figure on a busy machine.

#include <avif/avif.h>
#include <benchmark/benchmark.h>
#include <jxl/decode.h>
#include <jxl/decode_cxx.h>
#include <jxl/resizable_parallel_runner.h>
#include <jxl/resizable_parallel_runner_cxx.h>
#include <libheif/heif.h>
#include <webp/decode.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchPhotos.h"
#include "core/imaging/RasterLibrary.h"
#include "core/io/InputFile.h"

namespace {

void readFile(const std::string& path, std::vector<uint8_t>& bytes) {
    pr::InputFile file;
    if (!file.open(path) || !file.readUpTo(bytes, file.size()))
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
}

constexpr int kWidth = 4000, kHeight = 3000;

struct Files {
    bench::ScratchFolder scratch{"pxr-bench-photo-"};
    std::vector<uint8_t> heic, webp, webpAdobe, avif, jxl;
    Files() {
        const std::string dir = scratch.dir.string() + "/";
        bench::writePhotoPpm(dir + "src.ppm", kWidth, kHeight);
        // Every command writes its file itself; their chatter goes nowhere.
        auto run = [](const std::string& cmd) {
            if (std::system(("(" + cmd + ") >/dev/null 2>&1").c_str()) != 0)
                std::fprintf(stderr, "failed: %s\n", cmd.c_str());
        };
        run("pnmtopng " + dir + "src.ppm > " + dir + "src.png 2>/dev/null");
        run("heif-enc -q 85 " + dir + "src.png -o " + dir + "pic.heic");
        run("cwebp -q 85 " + dir + "src.png -o " + dir + "pic.webp");
        run("MAGICK_THREAD_LIMIT=1 /usr/bin/convert " + dir +
            "src.png -profile /usr/share/color/icc/sRGB.icc -profile "
            "/usr/share/color/icc/compatibleWithAdobeRGB1998.icc " +
            dir + "adobe.png");
        run("cwebp -q 85 -metadata icc " + dir + "adobe.png -o " + dir + "adobe.webp");
        run("avifenc -s 9 -j 2 " + dir + "src.png " + dir + "pic.avif");
        run("cjxl -e 3 -d 1 " + dir + "src.png " + dir + "pic.jxl");
        readFile(dir + "pic.heic", heic);
        readFile(dir + "pic.webp", webp);
        readFile(dir + "adobe.webp", webpAdobe);
        readFile(dir + "pic.avif", avif);
        readFile(dir + "pic.jxl", jxl);
    }
};

Files& files() {
    static Files f;
    return f;
}

void setCounters(benchmark::State& state) {
    state.counters["MP/s"] = benchmark::Counter(double(kWidth) * kHeight / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

void ours(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    for (auto _ : state) {
        pr::ImageBuffer img;
        const pr::DecodeResult r = pr::decodePicture(bytes.data(), bytes.size(), {}, img);
        if (!r.ok()) state.SkipWithError(img.message.c_str());
        benchmark::DoNotOptimize(img.bits);
    }
    setCounters(state);
}

void BM_Libheif(benchmark::State& state) {
    const auto& bytes = files().heic;
    for (auto _ : state) {
        heif_context* ctx = heif_context_alloc();
        heif_context_read_from_memory_without_copy(ctx, bytes.data(), bytes.size(), nullptr);
        heif_image_handle* handle = nullptr;
        heif_context_get_primary_image_handle(ctx, &handle);
        heif_image* img = nullptr;
        const heif_error err = heif_decode_image(handle, &img, heif_colorspace_RGB,
                                                 heif_chroma_interleaved_RGB, nullptr);
        if (err.code != heif_error_Ok) state.SkipWithError("libheif");
        benchmark::DoNotOptimize(img);
        heif_image_release(img);
        heif_image_handle_release(handle);
        heif_context_free(ctx);
    }
    setCounters(state);
}

void BM_OursHeic(benchmark::State& state) {
    ours(state, files().heic);
}

void BM_Libwebp(benchmark::State& state) {
    const auto& bytes = files().webp;
    for (auto _ : state) {
        int w = 0, h = 0;
        uint8_t* rgb = WebPDecodeRGB(bytes.data(), bytes.size(), &w, &h);
        if (!rgb) state.SkipWithError("libwebp");
        benchmark::DoNotOptimize(rgb);
        WebPFree(rgb);
    }
    setCounters(state);
}

void BM_OursWebp(benchmark::State& state) {
    ours(state, files().webp);
}

void BM_OursWebpAdobeRgb(benchmark::State& state) {
    ours(state, files().webpAdobe);
}

void BM_Libavif(benchmark::State& state) {
    const auto& bytes = files().avif;
    for (auto _ : state) {
        avifDecoder* dec = avifDecoderCreate();
        avifRGBImage rgb;
        if (avifDecoderSetIOMemory(dec, bytes.data(), bytes.size()) != AVIF_RESULT_OK ||
            avifDecoderParse(dec) != AVIF_RESULT_OK || avifDecoderNextImage(dec) != AVIF_RESULT_OK)
            state.SkipWithError("libavif");
        avifRGBImageSetDefaults(&rgb, dec->image);
        rgb.depth = 8;
        rgb.format = AVIF_RGB_FORMAT_RGB;
        avifRGBImageAllocatePixels(&rgb);
        avifImageYUVToRGB(dec->image, &rgb);
        benchmark::DoNotOptimize(rgb.pixels);
        avifRGBImageFreePixels(&rgb);
        avifDecoderDestroy(dec);
    }
    setCounters(state);
}

void BM_OursAvif(benchmark::State& state) {
    ours(state, files().avif);
}

void BM_Libjxl(benchmark::State& state) {
    const auto& bytes = files().jxl;
    for (auto _ : state) {
        auto dec = JxlDecoderMake(nullptr);
        auto runner = JxlResizableParallelRunnerMake(nullptr);
        JxlDecoderSubscribeEvents(dec.get(), JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE);
        JxlDecoderSetParallelRunner(dec.get(), JxlResizableParallelRunner, runner.get());
        JxlDecoderSetInput(dec.get(), bytes.data(), bytes.size());
        JxlDecoderCloseInput(dec.get());
        const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
        std::vector<uint8_t> pixels;
        for (JxlDecoderStatus s; (s = JxlDecoderProcessInput(dec.get())) != JXL_DEC_FULL_IMAGE;) {
            if (s == JXL_DEC_BASIC_INFO) {
                JxlBasicInfo info;
                JxlDecoderGetBasicInfo(dec.get(), &info);
                JxlResizableParallelRunnerSetThreads(
                    runner.get(), JxlResizableParallelRunnerSuggestThreads(info.xsize, info.ysize));
            } else if (s == JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
                size_t size = 0;
                JxlDecoderImageOutBufferSize(dec.get(), &format, &size);
                pixels.resize(size);
                JxlDecoderSetImageOutBuffer(dec.get(), &format, pixels.data(), size);
            } else {
                state.SkipWithError("libjxl");
                break;
            }
        }
        benchmark::DoNotOptimize(pixels.data());
    }
    setCounters(state);
}

void BM_OursJxl(benchmark::State& state) {
    ours(state, files().jxl);
}

}  // namespace

// Each library's decode sits next to ours so the ratio is read off one run.
BENCHMARK(BM_Libheif)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_OursHeic)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Libwebp)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_OursWebp)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_OursWebpAdobeRgb)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Libavif)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_OursAvif)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Libjxl)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_OursJxl)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

BENCHMARK_MAIN();
