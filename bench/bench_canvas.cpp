// The canvas's copy loop (rotation plus brightness/contrast, no rescale) for
// the device screen and a 1080 x 1920 screen at each rotation, timed beside a
// memcpy of the same screen buffer in the same iterations; and the cost of the
// rescale a paint makes when the zoom, rotation, picture or view changed,
// beside a paint that reuses the display bitmap. Counters: "Mpix_s" screen
// pixels per second, "x_memcpy" the copy's time over the memcpy's. Times are
// the thread's CPU time, so other work on a shared machine does not inflate them.
#include "app/image_item.h"
#include "image/canvas_copy.h"
#include "image/canvas_engine.h"
#include "image/canvas_transfer.h"
#include "image/gdi.h"

#include "bench/bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

using namespace BenchSupport;

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Screen of range(0) x range(1) client pixels, rotation range(2), brightness
// 20 and contrast -30. The picture covers the buffer either way round.
void BM_CanvasCopy(benchmark::State& state)
{
    const int bw = int(state.range(0)) + 2;
    const int bh = int(state.range(1));
    const int side = std::max(bw, bh) + 16;
    HBITMAP picture = NoisePicture(side + 3, side);
    const size_t bytes = size_t(bw) * bh * 3;
    std::vector<uint8_t> buffer(bytes), plain(bytes, 7);

    CCanvasCopy copy;
    copy.bits = picture->Bits();
    copy.stride = picture->Stride();
    copy.width = picture->Width();
    copy.height = picture->Height();
    copy.rotation = int(state.range(2));
    copy.panX = 5;
    copy.panY = 7;
    copy.buffer = buffer.data();
    copy.bufferWidth = bw;
    copy.bufferHeight = bh;
    const CCanvasTransfer transfer(20, -30);

    double copyTime = 0, memcpyTime = 0;
    for (auto _ : state) {
        double t0 = Now();
        CopyRotated(copy, transfer);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
        double t1 = Now();
        std::memcpy(buffer.data(), plain.data(), bytes);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
        double t2 = Now();
        copyTime += t1 - t0;
        memcpyTime += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    state.counters["Mpix_s"] = double(bw) * bh * double(state.iterations()) / copyTime / 1e6;
    state.counters["x_memcpy"] = copyTime / memcpyTime;
    state.counters["vector"] = transfer.IsVectorised() ? 1 : 0;
    DeleteObject(picture);
}
BENCHMARK(BM_CanvasCopy)
    ->ArgsProduct({{240}, {320}, {0, 90, 180, 270}})
    ->ArgsProduct({{1080}, {1920}, {0, 90, 180, 270}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// One paint of a range(0) x range(1) picture shrunk to fit a range(2) x
// range(3) view. range(4) = 1: the zoom changes every paint, so each paint
// rescales; 0: nothing changes and the paint reuses the display bitmap.
void BM_CanvasPaint(benchmark::State& state)
{
    CImageItem item;
    item.m_picture.m_width = int(state.range(0));
    item.m_picture.m_height = int(state.range(1));
    item.m_picture.m_fullBitmap = NoisePicture(item.m_picture.m_width, item.m_picture.m_height);
    item.m_zoom = 0;
    CCanvasPaint paint {int(state.range(2)), int(state.range(3)), false};
    paint.zoom = item.m_zoom;
    const bool rescale = state.range(4) != 0;
    CCanvas canvas;
    canvas.AdaptToWindow(paint.viewWidth, paint.viewHeight);
    canvas.SetPicture(&item.m_picture);
    canvas.Draw(paint);
    int step = 0;
    for (auto _ : state) {
        if (rescale)
            paint.zoom = item.m_zoom = (++step & 1) ? -1 : 0;
        const double t0 = Now();
        canvas.Draw(paint);
        benchmark::DoNotOptimize(canvas.Frame().pixels);
        state.SetIterationTime(Now() - t0);
    }
    state.counters["rescales"] = double(canvas.RescaleCount());
    canvas.SetPicture(nullptr);
}
BENCHMARK(BM_CanvasPaint)
    ->Args({2048, 1536, 240, 267, 1})
    ->Args({2048, 1536, 240, 267, 0})
    ->Args({4000, 3000, 1080, 1920, 1})
    ->Args({4000, 3000, 1080, 1920, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
