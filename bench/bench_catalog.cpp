// Catalog building beside its floors, measured in the same run:
// - list mode (file facts only) of a big folder, beside `find DIR -printf
//   '%s %T@\n'` over the same folder and beside a bare readdir + stat loop;
// - thumbnail mode of a folder of camera-sized JPEGs, beside the bare
//   LoadThumbnail calls for the same files.
// Prints the ratios of the medians (wall time) and the heap bytes one list-mode
// entry costs. Pictures come from the benchmark corpus (LUMO_BENCH_DIR, default
// /tmp/lumo-bench, made by make-corpus; big-folder holds 20,000 files at full
// scale, 2,000 at small scale).
#include "app/image_catalog.h"
#include "image/dib_bitmap.h"
#include "platform/device_path.h"
#include "platform/message_box.h"

#include "bench/bench_support.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <malloc.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using namespace BenchSupport;

const QString kBigFolder = QStringLiteral("\\big-folder");
const QString kJpegFolder = QStringLiteral("\\jpeg-4000x3000");

// The facts a listing needs, read by the shortest road: names, then one stat each.
void ReaddirStat(benchmark::State& state)
{
    const QByteArray dir = QFile::encodeName(DevicePath::ToHost(kBigFolder));
    size_t files = 0;
    for (auto _ : state) {
        files = 0;
        DIR* d = ::opendir(dir.constData());
        if (!d) {
            state.SkipWithError("cannot open the folder");
            return;
        }
        const int fd = ::dirfd(d);
        while (const dirent* e = ::readdir(d)) {
            struct stat st { };
            if (e->d_name[0] != '.' && ::fstatat(fd, e->d_name, &st, 0) == 0) {
                benchmark::DoNotOptimize(st.st_size + st.st_mtim.tv_sec);
                ++files;
            }
        }
        ::closedir(d);
    }
    state.counters["entries"] = double(files);
}

void FindPrintf(benchmark::State& state)
{
    const std::string command
        = "find '" + DevicePath::ToHost(kBigFolder).toStdString() + "' -mindepth 1 -maxdepth 1 -printf '%s %T@\\n'";
    size_t lines = 0;
    for (auto _ : state) {
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) {
            state.SkipWithError("popen");
            return;
        }
        char line[256];
        lines = 0;
        while (std::fgets(line, sizeof line, pipe))
            ++lines;
        ::pclose(pipe);
    }
    state.counters["entries"] = double(lines);
}

void BareThumbnails(benchmark::State& state)
{
    std::vector<CFindData> files;
    EnumerateDirectory(kJpegFolder, &files);
    CImageLoader loader;
    for (auto _ : state) {
        for (const CFindData& file : files) {
            CImageItem item;
            item.m_path = kJpegFolder + QLatin1Char('\\') + file.name;
            benchmark::DoNotOptimize(loader.LoadThumbnail(item.m_picture, item.File()));
        }
    }
    state.counters["entries"] = double(files.size());
}

// Heap bytes held per entry after a list-mode build, and how many entries
// hold pixel memory (none should before they are shown).
void ReportListModeMemory()
{
    const size_t before = mallinfo2().uordblks;
    auto* catalog = new CImageCatalog;
    catalog->BuildList(kBigFolder, 0, 0);
    const size_t after = mallinfo2().uordblks;
    int withPixels = 0;
    for (const CImageItem* item : catalog->GetList())
        withPixels += item->m_picture.m_fullBitmap || item->m_picture.m_thumbnail
                      || item->m_picture.m_displayCopy->m_handle || item->m_picture.m_shrinkCopy->m_handle
                      || item->m_picture.m_converted;
    const int n = catalog->GetCount();
    if (n > 0)
        std::printf("list mode: %d entries, %.0f heap bytes per entry, %d entries holding pixels\n", n,
                    double(after - before) / n, withPixels);
    delete catalog;
}

}  // namespace

int main(int argc, char** argv)
{
    MessageBoxService::SetEcho(false);
    DevicePath::SetDeviceRoot(QString::fromStdString(BenchDir()));
    const bool haveBig = QDir(DevicePath::ToHost(kBigFolder)).exists();
    const bool haveJpeg = QDir(DevicePath::ToHost(kJpegFolder)).exists();
    if (!haveBig || !haveJpeg)
        std::fprintf(stderr, "missing pictures in %s: run make-corpus %s small\n", BenchDir().c_str(),
                     BenchDir().c_str());
    auto add = [](const char* name, auto fn, int repetitions) {
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(repetitions)
            ->ReportAggregatesOnly(true);
    };
    if (haveBig) {
        add(
            "list_mode_build", [](benchmark::State& s) { CatalogBuild(s, kBigFolder, 0); }, 7);
        add("find_printf", FindPrintf, 7);
        add("readdir_stat", ReaddirStat, 7);
    }
    if (haveJpeg) {
        add(
            "thumbnail_mode_build", [](benchmark::State& s) { CatalogBuild(s, kJpegFolder, 1); }, 5);
        add("bare_load_thumbnail", BareThumbnails, 5);
    }
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("list mode / find -printf", "list_mode_build", "find_printf");
    reporter.PrintRatio("list mode / readdir+stat", "list_mode_build", "readdir_stat");
    reporter.PrintRatio("thumbnail build / bare thumbnails", "thumbnail_mode_build", "bare_load_thumbnail");
    if (haveBig)
        ReportListModeMemory();
    benchmark::Shutdown();
    return 0;
}
