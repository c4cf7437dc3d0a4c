// Sharp zoom's region decodes (CImageLoader::LoadRegion): a window of three
// views (726 x 630 picture pixels at 100 %) at the top left and at the bottom
// right of a 4000 x 3000 JPEG and of a 2000 x 1500 PNG of the benchmark
// corpus (LUMO_BENCH_DIR, default /tmp/lumo-bench). A JPEG skips the rows
// above a region without converting them; a PNG must inflate them.
#include "image/image_loader.h"
#include "platform/device_path.h"
#include "platform/message_box.h"

#include "bench/bench_support.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {

using namespace BenchSupport;

CPictureFile FirstIn(const QString& folder)
{
    const QStringList names = QDir(DevicePath::ToHost(folder)).entryList(QDir::Files, QDir::Name);
    return {names.isEmpty() ? QString() : folder + QLatin1Char('\\') + names.first(), QString(), {}};
}

void Region(benchmark::State& state, const QString& folder, int width, int height, bool bottom)
{
    const CImageLoader loader;
    const CPictureFile file = FirstIn(folder);
    const CPictureRegion region {{bottom ? width - 726 : 0, bottom ? height - 630 : 0, 726, 630}, 1};
    for (auto _ : state) {
        HBITMAP detail = loader.LoadRegion(file, region, 1, width, height);
        if (!detail)
            state.SkipWithError("no region decoded");
        DeleteObject(detail);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    MessageBoxService::SetEcho(false);
    DevicePath::SetDeviceRoot(QString::fromStdString(BenchDir()));
    const QString jpegs = QStringLiteral("\\jpeg-4000x3000"), pngs = QStringLiteral("\\png-2000x1500");
    if (FirstIn(jpegs).path.isEmpty() || FirstIn(pngs).path.isEmpty()) {
        std::fprintf(stderr, "missing pictures in %s: run make-corpus %s small\n", BenchDir().c_str(),
                     BenchDir().c_str());
        return 1;
    }
    const auto add = [](const char* name, auto fn) {
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    add("region_jpeg_top_left", [=](benchmark::State& s) { Region(s, jpegs, 4000, 3000, false); });
    add("region_jpeg_bottom_right", [=](benchmark::State& s) { Region(s, jpegs, 4000, 3000, true); });
    add("region_png_top_left", [=](benchmark::State& s) { Region(s, pngs, 2000, 1500, false); });
    add("region_png_bottom_right", [=](benchmark::State& s) { Region(s, pngs, 2000, 1500, true); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
