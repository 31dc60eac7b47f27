// Throughput of the image operations on camera-sized pictures, each beside a plain memcpy of the
// same number of bytes, so the figures can be compared across machines.
//
// Goals: the adjustment pass within 3 x the copy, a quarter turn within 4 x.
// The CPU column is the whole process's time, so the second thread of Resize and RotRight counts;
// on a busy machine it is the steadier figure.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "core/imaging/Adjust.h"
#include "core/imaging/ImageBuffer.h"
#include "core/imaging/Resize.h"
#include "core/imaging/Rotate.h"

using namespace pr;

namespace {

constexpr int kSmallW = 3000, kSmallH = 2000;  // 6 MP
constexpr int kBigW = 6000, kBigH = 4000;      // 24 MP

ImageBuffer photo(int w, int h) {
    ImageBuffer b;
    newdib(b, w, h, 24);
    std::mt19937 rng(1);
    // Smooth gradients with some noise, roughly what a photograph's bytes look like.
    for (int y = 0; y < h; ++y) {
        uint8_t* row = b.storedRow(y);
        for (int x = 0; x < 3 * w; ++x)
            row[x] = static_cast<uint8_t>((x / 7 + y / 5 + (rng() & 15)));
    }
    return b;
}

const ImageBuffer& small() {
    static const ImageBuffer b = photo(kSmallW, kSmallH);
    return b;
}

const ImageBuffer& big() {
    static const ImageBuffer b = photo(kBigW, kBigH);
    return b;
}

void BM_Memcpy24MP(benchmark::State& state) {
    const ImageBuffer& src = big();
    const size_t n = static_cast<size_t>(src.imageBytes());
    std::vector<uint8_t> dst(n, 1);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.bits, n);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * n));
}

// The copy into fresh memory, as every operation that makes a new picture pays for its pages.
void BM_Memcpy24MPFreshTarget(benchmark::State& state) {
    const ImageBuffer& src = big();
    const size_t n = static_cast<size_t>(src.imageBytes());
    for (auto _ : state) {
        ImageBuffer dst;
        newdib(dst, kBigW, kBigH, 24);
        std::memcpy(dst.bits, src.bits, n);
        benchmark::DoNotOptimize(dst.bits);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * n));
}

void BM_ResizeEnlarge6To24MP(benchmark::State& state) {
    const ImageBuffer& src = small();
    for (auto _ : state) {
        ImageBuffer out;
        Resize(src, kBigW, kBigH, true, out);
        benchmark::DoNotOptimize(out.bits);
    }
    state.counters["MP/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kBigW * kBigH / 1e6, benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * 3LL * kBigW * kBigH));
}

void BM_RotRight24MP(benchmark::State& state) {
    for (auto _ : state) {
        ImageBuffer pic = big();  // shares the pixels; the turn makes a new picture
        RotRight(pic);
        benchmark::DoNotOptimize(pic.bits);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * big().imageBytes()));
}

void BM_AdjustAll24MP(benchmark::State& state) {
    ImageBuffer pic = photo(kBigW, kBigH);
    for (auto _ : state) {
        AdjustAll(pic, 10, 120, 20);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * pic.imageBytes()));
}

void BM_AdjustThreeCalls24MP(benchmark::State& state) {
    ImageBuffer pic = photo(kBigW, kBigH);
    for (auto _ : state) {
        Helligkeit(pic, 10);
        Kontrast(pic, 120);
        Saettigung(pic, 20);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * pic.imageBytes()));
}

}  // namespace

void inMilliseconds(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

BENCHMARK(BM_Memcpy24MP)->Apply(inMilliseconds);
BENCHMARK(BM_Memcpy24MPFreshTarget)->Apply(inMilliseconds);
BENCHMARK(BM_ResizeEnlarge6To24MP)->Apply(inMilliseconds);
BENCHMARK(BM_RotRight24MP)->Apply(inMilliseconds);
BENCHMARK(BM_AdjustAll24MP)->Apply(inMilliseconds);
BENCHMARK(BM_AdjustThreeCalls24MP)->Apply(inMilliseconds);

BENCHMARK_MAIN();
