// Sharp zoom's region decodes (CImageLoader::LoadRegion): a window of three
// views (726 x 630 picture pixels at 100 %) at the top left and at the bottom
// right of a 4000 x 3000 JPEG and of a 2000 x 1500 PNG of the benchmark
// corpus (LUMO_BENCH_DIR, default /tmp/lumo-bench), the PNG both interlaced
// (png_01: every row is read) and not (png_03: read down to the region's
// last row). A JPEG entropy-decodes the rows above a region, a PNG inflates them.
#include "image/image_loader.h"
#include "platform/device_path.h"
#include "platform/message_box.h"

#include "bench/bench_support.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <string>

namespace {

using namespace BenchSupport;

const QString kJpeg = QStringLiteral("\\jpeg-4000x3000\\IMG_0001.JPG");
const QString kInterlacedPng = QStringLiteral("\\png-2000x1500\\png_01.png");
const QString kPng = QStringLiteral("\\png-2000x1500\\png_03.png");

void Region(benchmark::State& state, const QString& path, int width, int height, bool bottom)
{
    const CImageLoader loader;
    const CPictureFile file {path, QString(), {}};
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
    if (!QFile::exists(DevicePath::ToHost(kJpeg)) || !QFile::exists(DevicePath::ToHost(kPng))) {
        std::fprintf(stderr, "missing pictures in %s: run make-corpus %s small\n", BenchDir().c_str(),
                     BenchDir().c_str());
        return 1;
    }
    const auto add = [](const char* name, auto fn) {
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    for (const bool bottom : {false, true}) {
        const std::string at = bottom ? "_bottom_right" : "_top_left";
        add(("region_jpeg" + at).c_str(), [=](benchmark::State& s) { Region(s, kJpeg, 4000, 3000, bottom); });
        add(("region_png" + at).c_str(), [=](benchmark::State& s) { Region(s, kPng, 2000, 1500, bottom); });
        add(("region_interlaced_png" + at).c_str(),
            [=](benchmark::State& s) { Region(s, kInterlacedPng, 2000, 1500, bottom); });
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
