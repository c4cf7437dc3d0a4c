// File Open and the folder browser as the user meets them, on a device made
// in a temporary folder: My Documents holds 10,000 folders (100 x 100) and
// 100,000 files (10 in each), and the remembered folder lies two levels
// down. "First paint" is the window made, shown and drawn with that folder
// selected (and, for File Open, its files listed). Its floor: the listings a
// tree must read to reach that folder (root, My Documents, and the folders
// on the way, with every entry's facts). The same is measured with the whole
// host file system as the device and the home folder remembered.
//
// The File Open list of a folder of 20,000 files is timed beside
// `find DIR -maxdepth 1 -printf '%s %A@\n'` of the same folder, run as a
// program; its parts (the folder's listing, the rows' texts) are timed too. All times are wall-clock medians; the files
// are in memory (a memory file system when there is one, else the page cache).
#include "app/file_open_model.h"
#include "app/settings.h"
#include "platform/device_path.h"
#include "platform/profile.h"
#include "platform/registry_store.h"
#include "shell/file_open_dlg.h"
#include "shell/folder_browser_wnd.h"

#include "bench/bench_support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace BenchSupport;

constexpr int kRepetitions = 10;
constexpr int kBigFolderFiles = 20000;

// In memory where the system has a memory file system: 120,000 files are
// made in a second there, rather than a minute on a journalling disk.
QTemporaryDir& Device()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/lumo-bench-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/lumo-bench-XXXXXX"));
    return dir;
}

// Empty files: the listing still reads each one's facts.
void Touch(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0)
        ::close(fd);
}

void MakeDevice()
{
    const QByteArray root = QFile::encodeName(Device().path());
    const QByteArray docs = root + "/My Documents";
    ::mkdir(docs.constData(), 0755);
    for (int a = 0; a < 100; ++a) {
        const QByteArray top = docs + "/f" + QByteArray::number(a).rightJustified(3, '0');
        ::mkdir(top.constData(), 0755);
        for (int b = 0; b < 100; ++b) {
            const QByteArray sub = top + "/g" + QByteArray::number(b).rightJustified(3, '0');
            ::mkdir(sub.constData(), 0755);
            for (int f = 0; f < 10; ++f)
                Touch(sub + "/p" + QByteArray::number(f) + ".jpg");
        }
    }
    const QByteArray big = root + "/big";
    ::mkdir(big.constData(), 0755);
    for (int f = 0; f < kBigFolderFiles; ++f)
        Touch(big + "/picture" + QByteArray::number(f).rightJustified(5, '0') + ".jpg");
}

// Confined to the made device (true) or the whole host file system.
void UseDevice(bool made)
{
    DevicePath::SetDeviceRoot(made ? Device().path() : QString());
    const QString folder = made ? QStringLiteral("\\My Documents\\f050\\g050") : QStringLiteral("\\My Documents");
    Settings::SetFileOpenPath(folder + QLatin1Char('\\'));
    Settings::SetCurrPath(folder);
}

double Milliseconds(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) * 1e-6;
}

void FileOpenFirstPaint(benchmark::State& state, bool made)
{
    UseDevice(made);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        CFileOpenDlg dialog(nullptr);
        dialog.setGeometry(0, 26, 240, 294);
        dialog.show();
        benchmark::DoNotOptimize(dialog.grab());
        state.SetIterationTime(Milliseconds(t) / 1000);
    }
}

void BrowserFirstPaint(benchmark::State& state, bool made)
{
    UseDevice(made);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        QWidget parent;
        CFolderBrowserWnd browser(&parent, nullptr, nullptr);
        parent.setGeometry(0, 26, 240, 210);
        browser.setGeometry(0, 0, 240, 210);
        browser.setEnabled(true);
        browser.show();
        parent.show();
        benchmark::DoNotOptimize(parent.grab());
        state.SetIterationTime(Milliseconds(t) / 1000);
    }
}

// The listings on the way to the remembered folder.
void TreeFloor(benchmark::State& state, bool made)
{
    UseDevice(made);
    const QStringList way
        = made ? QStringList {"\\", "\\My Documents", "\\My Documents\\f050", "\\My Documents\\f050\\g050"}
               : QStringList {"\\", "\\My Documents"};
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        for (const QString& folder : way) {
            std::vector<CFindData> entries;
            EnumerateDirectory(folder, &entries);
            benchmark::DoNotOptimize(entries.data());
        }
        state.SetIterationTime(Milliseconds(t) / 1000);
    }
}

void BigList(benchmark::State& state)
{
    UseDevice(true);
    CFileOpenDlg dialog(nullptr);
    dialog.setGeometry(0, 26, 240, 294);
    dialog.show();
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        dialog.ListFiles(QStringLiteral("\\big\\"), QStringLiteral("*.*"));
        state.SetIterationTime(Milliseconds(t) / 1000);
    }
}

// The parts of the list: the folder's listing, and its rows as texts.
void BigListing(benchmark::State& state)
{
    UseDevice(true);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        std::vector<CFindData> entries;
        EnumerateDirectory(QStringLiteral("\\big\\"), &entries);
        benchmark::DoNotOptimize(entries.data());
        state.SetIterationTime(Milliseconds(t) / 1000);
    }
}

void BigRows(benchmark::State& state)
{
    UseDevice(true);
    CDateFormatter formatter;
    const QString picture = CDateFormatter::UserShortDatePicture();
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        std::vector<FileOpenModel::CFileRow> rows;
        FileOpenModel::ListFiles(QStringLiteral("\\big\\"), QStringLiteral("*.*"), &formatter, picture, &rows);
        benchmark::DoNotOptimize(rows.data());
        state.SetIterationTime(Milliseconds(t) / 1000);
    }
}

void FindPrintf(benchmark::State& state)
{
    const QByteArray command
        = "find '" + QFile::encodeName(Device().path()) + "/big' -maxdepth 1 -printf '%s %A@\\n' >/dev/null";
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (std::system(command.constData()) != 0)
            state.SkipWithError("find failed");
        state.SetIterationTime(Milliseconds(t) / 1000);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CRegistryStore::Instance().SetFile(Device().filePath(QStringLiteral("registry.reg")));
    Profile::SetAppName(QStringLiteral("lumo"));
    MakeDevice();
    auto add = [](const char* name, auto fn) {
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(kRepetitions)
            ->ReportAggregatesOnly(true);
    };
    add("file_open_first_paint", [](benchmark::State& s) { FileOpenFirstPaint(s, true); });
    add("browser_first_paint", [](benchmark::State& s) { BrowserFirstPaint(s, true); });
    add("tree_floor", [](benchmark::State& s) { TreeFloor(s, true); });
    add("file_open_first_paint_host", [](benchmark::State& s) { FileOpenFirstPaint(s, false); });
    add("browser_first_paint_host", [](benchmark::State& s) { BrowserFirstPaint(s, false); });
    add("tree_floor_host", [](benchmark::State& s) { TreeFloor(s, false); });
    add("file_open_list_20000", BigList);
    add("listing_20000", BigListing);
    add("list_rows_20000", BigRows);
    add("find_printf_20000", FindPrintf);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("File Open first paint / floor", "file_open_first_paint", "tree_floor");
    reporter.PrintRatio("browser first paint / floor", "browser_first_paint", "tree_floor");
    reporter.PrintRatio("File Open (host) / floor", "file_open_first_paint_host", "tree_floor_host");
    reporter.PrintRatio("browser (host) / floor", "browser_first_paint_host", "tree_floor_host");
    reporter.PrintRatio("File Open list 20000 / find", "file_open_list_20000", "find_printf_20000");
    return 0;
}
