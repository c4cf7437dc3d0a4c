// Showing the next picture as the main view does, through the decode jobs,
// beside decoding that picture straight on this thread (the floor), measured
// in the same run over the 4000 x 3000 JPEGs of the benchmark corpus
// (LUMO_BENCH_DIR, default /tmp/lumo-bench):
// - straight_view_decode: the view-size decode alone;
// - jobs_show_not_ahead: Quick View off, from the ask to the picture landed
//   in its entry on this thread (the decode plus the hand-over);
// - jobs_show_decoded_ahead: Quick View on, the neighbour decoded ahead while
//   this thread was idle: from the ask to the picture in its entry.
#include "app/image_catalog.h"
#include "app/picture_jobs.h"
#include "image/view_decode.h"
#include "platform/device_path.h"
#include "platform/message_box.h"

#include "bench/bench_support.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <thread>

namespace {

using namespace BenchSupport;

const QString kJpegFolder = QStringLiteral("\\jpeg-4000x3000");

void FillCatalog(CImageCatalog& catalog)
{
    const QStringList names = QDir(DevicePath::ToHost(kJpegFolder)).entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        auto* item = new CImageItem;
        item->m_path = kJpegFolder + QLatin1Char('\\') + name;
        item->m_source = kJpegFolder;
        catalog.Append(item);
    }
}

void Settle(CPictureJobs& jobs)
{
    while (jobs.IsBusy()) {
        jobs.LandFinished();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void StraightViewDecode(benchmark::State& state)
{
    CImageCatalog catalog;
    FillCatalog(catalog);
    const CImageLoader loader;
    int i = 0;
    for (auto _ : state) {
        CPicture picture;
        const CImageItem* item = catalog.GetAt(i++ % catalog.GetCount());
        loader.LoadPicture(picture, item->File(), CImageLoader::kModeView, false);
    }
}

// Asks for each picture in turn and waits until it has landed.
void JobsShow(benchmark::State& state, bool quickView)
{
    CImageCatalog catalog;
    FillCatalog(catalog);
    CPictureJobs jobs(catalog, 2);
    // The first picture is shown before the clock runs: it had no neighbour.
    catalog.SetCurrent(catalog.GetAt(0));
    jobs.Show(catalog.GetAt(0), quickView);
    jobs.Finish(catalog.GetAt(0), quickView);
    int i = 1;
    for (auto _ : state) {
        state.PauseTiming();
        // With Quick View on, the neighbours of the one shown last are decoded
        // by now (and the budget lets none of them go); off, nothing is.
        Settle(jobs);
        CImageItem* item = catalog.GetAt(i++ % catalog.GetCount());
        if (!quickView)
            item->m_picture.FreePicture();
        state.ResumeTiming();
        catalog.SetCurrent(item);
        jobs.Show(item, quickView);
        // Waits blocked, as the idle user-interface thread would.
        jobs.Finish(item, quickView);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    MessageBoxService::SetEcho(false);
    DevicePath::SetDeviceRoot(QString::fromStdString(BenchDir()));
    if (!QDir(DevicePath::ToHost(kJpegFolder)).exists()) {
        std::fprintf(stderr, "missing pictures in %s: run make-corpus %s small\n", BenchDir().c_str(),
                     BenchDir().c_str());
        return 1;
    }
    const auto add = [](const char* name, auto fn) {
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(20)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    };
    add("straight_view_decode", StraightViewDecode);
    add("jobs_show_not_ahead", [](benchmark::State& s) { JobsShow(s, false); });
    add("jobs_show_decoded_ahead", [](benchmark::State& s) { JobsShow(s, true); });
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double straight = reporter.medians["straight_view_decode"].real;
    const double notAhead = reporter.medians["jobs_show_not_ahead"].real;
    std::printf("next picture, not decoded ahead: %.2f ms = decode %.2f ms + %.2f ms\n", notAhead, straight,
                notAhead - straight);
    std::printf("next picture, decoded ahead: %.3f ms\n", reporter.medians["jobs_show_decoded_ahead"].real);
    benchmark::Shutdown();
    return 0;
}
