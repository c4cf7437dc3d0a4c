// A folder build on the loader thread beside the same build run straight on
// the calling thread (the list-mode floor), measured in the same run on the
// big folder of the benchmark corpus (LUMO_BENCH_DIR, default /tmp/lumo-bench;
// 20,000 files at full scale, 2,000 at small scale).
//
// The worker build runs as the program runs it: the document's loader builds
// in list mode while this thread runs its event loop, takes every queued hint
// and shows a row for it (name, size and date formatted, as the list does).
// A 10 ms timer stands in for the pen: the longest wait between two of its
// ticks, less its period, is how late a tap could be answered.
#include "app/lumo_doc.h"
#include "app/settings.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/registry_store.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

const QString kBigFolder = QStringLiteral("\\big-folder");
constexpr int kTickMs = 10;
double g_worstTapMs = 0;  // over every repetition

std::string BenchDir()
{
    const char* dir = std::getenv("LUMO_BENCH_DIR");
    return dir ? dir : "/tmp/lumo-bench";
}

// Shows one row per list hint, as the thumbnail list does in list mode.
class RowView : public CView {
public:
    explicit RowView(CImageCatalog* catalog) : m_catalog(catalog) {}
    void OnUpdate(CView*, int hint) override
    {
        if (hint != CImageCatalog::kHintListChanged) {
            if (hint == CImageCatalog::kHintCurrentChanged && m_catalog->GetCount() == 0)
                rows.clear();
            return;
        }
        // Rows follow the catalog: every entry not shown yet gets its row.
        for (int i = int(rows.size()); i < m_catalog->GetCount(); ++i) {
            const CImageItem* item = m_catalog->GetAt(i);
            rows.push_back(CImageCatalog::TitleOf(item->m_path) + QStringLiteral("  %1 KB  %2")
                                                                     .arg(item->m_fileSize / 1024)
                                                                     .arg(item->m_modified.GetYear()));
        }
        if (!m_catalog->GetCurrent() && m_catalog->GetCount() > 0)
            m_catalog->SetCurrent(m_catalog->GetAt(0));
    }
    std::vector<QString> rows;

private:
    CImageCatalog* m_catalog;
};

void StraightListBuild(benchmark::State& state)
{
    CImageCatalog catalog;
    for (auto _ : state) {
        state.PauseTiming();
        catalog.RemoveAll();
        state.ResumeTiming();
        catalog.SetSourcePath(kBigFolder);
        catalog.BuildList(kBigFolder, 0, 0);
    }
    state.counters["entries"] = catalog.GetCount();
}

void WorkerListBuild(benchmark::State& state)
{
    CLumoDoc doc;
    RowView view(&doc.Catalog());
    doc.AddView(&view);
    double worstLateMs = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QElapsedTimer sinceTick;
        QTimer pen;
        QObject::connect(&pen, &QTimer::timeout, [&] {
            worstLateMs = std::max(worstLateMs, double(sinceTick.nsecsElapsed()) / 1e6 - kTickMs);
            sinceTick.start();
            if (!doc.m_loader.IsRunning() && int(view.rows.size()) == doc.Catalog().GetCount()) {
                QCoreApplication::sendPostedEvents();
                if (int(view.rows.size()) == doc.Catalog().GetCount())
                    loop.quit();
            }
        });
        sinceTick.start();
        pen.start(kTickMs);
        doc.BrowseFolder(kBigFolder, 0);
        loop.exec();
        doc.m_loader.WaitThread();
    }
    state.counters["entries"] = doc.Catalog().GetCount();
    state.counters["rows"] = double(view.rows.size());
    state.counters["worst_tap_ms"] = worstLateMs;
    g_worstTapMs = std::max(g_worstTapMs, worstLateMs);
}

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    MessageBoxService::SetEcho(false);
    QTemporaryDir settings;
    CRegistryStore::Instance().SetFile(settings.filePath(QStringLiteral("registry.reg")));
    Profile::SetRegistryKey(QStringLiteral("FARHAVEN"));
    Profile::SetAppName(QStringLiteral("bench_loader_thread"));
    Settings::SetThumbnailViewMode(Settings::kModeList);
    DevicePath::SetDeviceRoot(QString::fromStdString(BenchDir()));
    if (!QDir(DevicePath::ToHost(kBigFolder)).exists()) {
        std::fprintf(stderr, "missing %s/big-folder: run make-corpus %s small\n", BenchDir().c_str(),
            BenchDir().c_str());
        return 0;
    }
    using Bench = void (*)(benchmark::State&);
    const std::pair<const char*, Bench> benches[] = {
        {"straight_list_build", StraightListBuild}, {"worker_list_build", WorkerListBuild}};
    for (const auto& [name, fn] : benches)
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double straight = reporter.medians["straight_list_build"];
    const double worker = reporter.medians["worker_list_build"];
    if (straight > 0)
        std::printf("worker build with rows / straight build: %.2f ms vs %.2f ms  ratio %.3f\n", worker, straight,
            worker / straight);
    std::printf("longest a tap waited during the worker builds: %.1f ms\n", g_worstTapMs);
    benchmark::Shutdown();
    return 0;
}
