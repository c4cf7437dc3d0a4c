// Thumbnails, stretching and the brightness/contrast table, each timed beside
// a memcpy of the same number of bytes measured in the same run. The counter
// "x_memcpy" is the operation's time divided by that floor. Times are the
// thread's CPU time, so other work on a shared machine does not inflate them.
#include "app/image_item.h"
#include "image/dib_bitmap.h"
#include "image/gdi.h"
#include "image/transfer.h"

#include "bench/bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

using namespace BenchSupport;

struct Clock {
    static double now()
    {
        timespec ts;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
    }
};

double Seconds(double from, double to)
{
    return to - from;
}

// The fastest of several copies of `bytes` bytes between two warm buffers.
double MemcpySeconds(size_t bytes)
{
    std::vector<uint8_t> from(bytes, 1), to(bytes, 2);
    double best = 1e9;
    for (int i = 0; i < 30; ++i) {
        const auto t0 = Clock::now();
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
        best = std::min(best, Seconds(t0, Clock::now()));
    }
    return best;
}

void Report(benchmark::State& state, double total, double floor, size_t bytes)
{
    const double perIteration = total / double(state.iterations());
    state.counters["memcpy_us"] = floor * 1e6;
    state.counters["x_memcpy"] = perIteration / floor;
    state.SetBytesProcessed(int64_t(bytes) * state.iterations());
}

void BM_MakeThumbnail(benchmark::State& state)
{
    const int width = int(state.range(0)), height = int(state.range(1));
    HBITMAP source = NoisePicture(width, height);
    const size_t bytes = size_t(source->Stride()) * height;
    const double floor = MemcpySeconds(bytes);
    double total = 0;
    for (auto _ : state) {
        CImageItem item;
        item.m_picture.m_fullBitmap = CreateBitmap(width, height, 1, 24, source->Bits());
        const auto t0 = Clock::now();
        MakeThumbnail(item.m_picture);
        const double t = Seconds(t0, Clock::now());
        state.SetIterationTime(t);
        total += t;
    }
    Report(state, total, floor, bytes);
    DeleteObject(source);
}
BENCHMARK(BM_MakeThumbnail)->Args({500, 375})->Args({1000, 750})->UseManualTime()->Unit(benchmark::kMicrosecond);

// The floor is the larger of the source and target pixel blocks.
void BM_StretchBlt(benchmark::State& state)
{
    const int sw = int(state.range(0)), sh = int(state.range(1));
    const int dw = int(state.range(2)), dh = int(state.range(3));
    HBITMAP source = NoisePicture(sw, sh);
    HBITMAP target = CreateBitmap(dw, dh, 1, 24, nullptr);
    const size_t bytes = std::max(size_t(source->Stride()) * sh, size_t(target->Stride()) * dh);
    const double floor = MemcpySeconds(bytes);
    double total = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        StretchBlt(target, 0, 0, dw, dh, source, 0, 0, sw, sh);
        benchmark::DoNotOptimize(target->Bits());
        const double t = Seconds(t0, Clock::now());
        state.SetIterationTime(t);
        total += t;
    }
    Report(state, total, floor, bytes);
    DeleteObject(source);
    DeleteObject(target);
}
BENCHMARK(BM_StretchBlt)
    ->Args({1000, 750, 320, 240})
    ->Args({240, 180, 480, 360})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// A table built for a new slider position, then a 1080 x 1920 picture mapped through it.
void BM_TransferTable(benchmark::State& state)
{
    const size_t bytes = size_t(1080) * 1920 * 3;
    std::vector<uint8_t> in(bytes), out(bytes);
    for (size_t i = 0; i < bytes; ++i)
        in[i] = uint8_t(i * 131 >> 3);
    const double floor = MemcpySeconds(bytes);
    double total = 0;
    int step = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const CTransferTable table(step % 200 - 100, 40 - step % 90);
        table.Apply(in.data(), out.data(), bytes);
        benchmark::DoNotOptimize(out.data());
        const double t = Seconds(t0, Clock::now());
        state.SetIterationTime(t);
        total += t;
        ++step;
    }
    Report(state, total, floor, bytes);
}
BENCHMARK(BM_TransferTable)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
