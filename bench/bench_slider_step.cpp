// One step of the effect window's slider as the main view repaints it: the
// current picture (a 1280 x 960 landscape shown turned and fitted in a
// 240 x 320 full-screen view) gets a new brightness, and the view's paint
// runs: the canvas scales it when it must, copies it with the new transfer
// and blits the buffer onto a 240 x 320 screen image with QPainter, as the
// paint hook does. Beside it, the floor: a memcpy of that screen's buffer.
// Each is timed one step per repetition, 200 repetitions, and the medians
// are compared. A third variant rescales on every step (the zoom changes
// too), the cost a step would have without the canvas keeping its display
// bitmap. Times are the thread's CPU time.
#include "app/image_item.h"
#include "views/image_canvas.h"

#include "bench/bench_support.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <vector>

namespace {

using namespace BenchSupport;

constexpr int kViewWidth = 240;
constexpr int kViewHeight = 320;
constexpr int kSteps = 200;

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// The picture, the canvas bound to it and the screen, kept across steps as
// the running program keeps them.
struct Scene {
    Scene()
        : screen(kViewWidth, kViewHeight, QImage::Format_RGB32)
        , copy(screen)
    {
        item.m_picture.m_width = 1280;
        item.m_picture.m_height = 960;
        item.m_picture.m_fullBitmap = NoisePicture(item.m_picture.m_width, item.m_picture.m_height);
        item.m_zoom = 0;
        item.m_rotation = 270;
        canvas.AdaptToWindow(kViewWidth, kViewHeight);
        canvas.SetItem(&item);
        Paint();
    }
    ~Scene() { canvas.SetItem(nullptr); }
    void Paint()
    {
        QPainter painter(&screen);
        canvas.Draw(painter, QSize(kViewWidth, kViewHeight), false);
    }
    // The slider's next position: back and forth over its whole range.
    int NextBrightness()
    {
        step = (step + 1) % 254;
        return step < 127 ? -127 + 2 * step : 127 - 2 * (step - 127);
    }
    CImageItem item;
    CImageCanvas canvas;
    QImage screen;
    QImage copy;
    int step = 0;
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

void SliderStep(benchmark::State& state, bool rescale)
{
    Scene& scene = TheScene();
    for (auto _ : state) {
        const double t0 = Now();
        scene.item.m_brightness = scene.NextBrightness();
        if (rescale)
            scene.item.m_zoom = scene.item.m_zoom == 0 ? -1 : 0;
        scene.Paint();
        benchmark::DoNotOptimize(scene.screen.constBits());
        state.SetIterationTime(Now() - t0);
    }
    state.counters["rescales"] = double(scene.canvas.RescaleCount());
}

void ScreenMemcpy(benchmark::State& state)
{
    Scene& scene = TheScene();
    const size_t bytes = size_t(scene.screen.sizeInBytes());
    for (auto _ : state) {
        const double t0 = Now();
        std::memcpy(scene.copy.bits(), scene.screen.constBits(), bytes);
        benchmark::DoNotOptimize(scene.copy.constBits());
        benchmark::ClobberMemory();
        state.SetIterationTime(Now() - t0);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    auto add = [](const char* name, auto fn) {
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMicrosecond)
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(kSteps)
            ->ReportAggregatesOnly(true);
    };
    add("slider_step", [](benchmark::State& s) { SliderStep(s, false); });
    add("slider_step_rescaling", [](benchmark::State& s) { SliderStep(s, true); });
    add("screen_memcpy", ScreenMemcpy);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("slider step / screen memcpy", "slider_step", "screen_memcpy");
    reporter.PrintRatio("rescaling step / screen memcpy", "slider_step_rescaling", "screen_memcpy");
    return 0;
}
