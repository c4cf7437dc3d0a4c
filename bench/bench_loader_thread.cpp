// Folder builds on the loader thread beside the same build run straight on
// the calling thread (the floor), measured in the same run: list mode on the
// big folder of the benchmark corpus (LUMO_BENCH_DIR, default /tmp/lumo-bench;
// 20,000 files at full scale, 2,000 at small scale), thumbnail mode on its
// 4000 x 3000 JPEGs.
//
// The worker build runs as the program runs it: the document's loader builds
// while this thread runs its event loop, takes every queued hint and shows a
// row for it (name, size and date formatted, as the list does). A 10 ms timer
// stands in for the pen: the longest wait between two of its ticks, less its
// period, is how late a tap could be answered. The time from the start until
// the first list hint reaches this thread is when the strip or list can first
// paint an entry.
#include "app/lumo_doc.h"
#include "app/settings.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/registry_store.h"

#include "bench/bench_support.h"

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

using namespace BenchSupport;

const QString kBigFolder = QStringLiteral("\\big-folder");
const QString kJpegFolder = QStringLiteral("\\jpeg-4000x3000");
constexpr int kTickMs = 10;
double g_worstTapMs = 0;                            // over every repetition
std::map<int, std::vector<double>> g_firstEntryMs;  // by mode, one per repetition

// Shows one row per list hint, as the thumbnail list does in list mode.
class RowView : public CView {
public:
    explicit RowView(CImageCatalog* catalog)
        : m_catalog(catalog)
    {
    }
    void OnUpdate(CView*, int hint) override
    {
        if (hint == CImageCatalog::kHintListChanged && firstHintMs < 0 && m_catalog->GetCount() > 0)
            firstHintMs = double(sinceStart.nsecsElapsed()) / 1e6;
        if (hint != CImageCatalog::kHintListChanged) {
            if (hint == CImageCatalog::kHintCurrentChanged && m_catalog->GetCount() == 0)
                rows.clear();
            return;
        }
        // Rows follow the catalog: every entry not shown yet gets its row.
        for (int i = int(rows.size()); i < m_catalog->GetCount(); ++i) {
            const CImageItem* item = m_catalog->GetAt(i);
            rows.push_back(CImageCatalog::TitleOf(item->m_path)
                           + QStringLiteral("  %1 KB  %2")
                                 .arg(item->m_picture.m_fileSize / 1024)
                                 .arg(item->m_picture.m_modified.GetYear()));
        }
        if (!m_catalog->GetCurrent() && m_catalog->GetCount() > 0)
            m_catalog->SetCurrent(m_catalog->GetAt(0));
    }
    std::vector<QString> rows;
    QElapsedTimer sinceStart;
    double firstHintMs = -1;

private:
    CImageCatalog* m_catalog;
};

void WorkerBuild(benchmark::State& state, const QString& folder, int mode)
{
    Settings::SetThumbnailViewMode(mode);
    CLumoDoc doc;
    RowView view(&doc.Catalog());
    doc.AddView(&view);
    double worstLateMs = 0;
    std::vector<double> firstHints;
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
        view.firstHintMs = -1;
        view.sinceStart.start();
        doc.BrowseFolder(folder, 0);
        loop.exec();
        doc.m_loader.WaitThread();
        firstHints.push_back(view.firstHintMs);
    }
    std::sort(firstHints.begin(), firstHints.end());
    state.counters["entries"] = doc.Catalog().GetCount();
    state.counters["rows"] = double(view.rows.size());
    state.counters["worst_tap_ms"] = worstLateMs;
    state.counters["first_entry_ms"] = firstHints.empty() ? 0 : firstHints[firstHints.size() / 2];
    g_worstTapMs = std::max(g_worstTapMs, worstLateMs);
    g_firstEntryMs[mode].push_back(firstHints.empty() ? 0 : firstHints.front());
}

// The command-line open: the same build on this thread, the views hearing
// every hint at once; the first list hint is when the first row can paint.
void UiThreadBuild(benchmark::State& state, const QString& folder, int mode)
{
    Settings::SetThumbnailViewMode(mode);
    CLumoDoc doc;
    RowView view(&doc.Catalog());
    doc.AddView(&view);
    for (auto _ : state) {
        view.firstHintMs = -1;
        view.sinceStart.start();
        doc.OpenPicturePath(folder);
        g_firstEntryMs[100 + mode].push_back(view.firstHintMs);
    }
    state.counters["entries"] = doc.Catalog().GetCount();
    state.counters["rows"] = double(view.rows.size());
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    MessageBoxService::SetEcho(false);
    QTemporaryDir settings;
    CRegistryStore::Instance().SetFile(settings.filePath(QStringLiteral("registry.reg")));
    Profile::SetRegistryKey(QStringLiteral("FARHAVEN"));
    Profile::SetAppName(QStringLiteral("bench_loader_thread"));
    DevicePath::SetDeviceRoot(QString::fromStdString(BenchDir()));
    const bool haveBig = QDir(DevicePath::ToHost(kBigFolder)).exists();
    const bool haveJpeg = QDir(DevicePath::ToHost(kJpegFolder)).exists();
    if (!haveBig || !haveJpeg)
        std::fprintf(stderr, "missing pictures in %s: run make-corpus %s small\n", BenchDir().c_str(),
                     BenchDir().c_str());
    auto add = [](const char* name, auto fn) {
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    };
    if (haveBig) {
        add("straight_list_build", [](benchmark::State& s) { CatalogBuild(s, kBigFolder, Settings::kModeList); });
        add("worker_list_build", [](benchmark::State& s) { WorkerBuild(s, kBigFolder, Settings::kModeList); });
        add("ui_thread_list_build", [](benchmark::State& s) { UiThreadBuild(s, kBigFolder, Settings::kModeList); });
    }
    if (haveJpeg) {
        add("straight_thumbnail_build", [](benchmark::State& s) { CatalogBuild(s, kJpegFolder, 1); });
        add("worker_thumbnail_build", [](benchmark::State& s) { WorkerBuild(s, kJpegFolder, 1); });
    }
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ratio = [&](const char* label, const char* worker, const char* straight) {
        const double w = reporter.medians[worker].real;
        const double s = reporter.medians[straight].real;
        if (s > 0)
            std::printf("%s: worker %.2f ms vs straight %.2f ms  ratio %.3f\n", label, w, s, w / s);
    };
    ratio("list mode, rows shown", "worker_list_build", "straight_list_build");
    ratio("thumbnail mode", "worker_thumbnail_build", "straight_thumbnail_build");
    for (auto& [mode, times] : g_firstEntryMs) {
        std::sort(times.begin(), times.end());
        std::printf("%s build, mode %d: first entry on the user-interface thread after %.1f ms (median of %zu)\n",
                    mode >= 100 ? "user-interface thread" : "worker", mode % 100, times[times.size() / 2],
                    times.size());
    }
    std::printf("longest a tap waited during the worker builds: %.1f ms\n", g_worstTapMs);
    benchmark::Shutdown();
    return 0;
}
