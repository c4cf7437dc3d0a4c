// ZIP listing and member reads, each timed beside bare minizip doing the same
// reading in the same iteration: the floor. The counter "x_floor" is the
// operation's time divided by the floor's. Times are the thread's CPU time.
//
// Listing: ListZipPictures against unzGetCurrentFileInfo over every member
// (names, sizes, times). Read: FindZipMember of the last member (it opens
// every member on the way and checks the CRC) against walking to that member
// and reading its bytes into memory.
//
// Catalog builds of an archive of 5,000 small BMPs beside a loose folder of
// the same 5,000 files ($LUMO_BENCH_ZIP_MEMBERS sets another count), in list
// mode and in thumbnail mode, each pair in the same run; the ratios of the
// medians (wall time) are printed at the end.
#include "app/image_catalog.h"
#include "image/zip_archive.h"
#include "platform/device_path.h"
#include "platform/message_box.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <minizip/unzip.h>
#include <minizip/zip.h>

#include "bench/bench_support.h"

#include <cstdio>
#include <ctime>

namespace {

constexpr int kMembers = 50;

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

QString MemberName(int i)
{
    return QStringLiteral("photos/picture%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
}

// A 50-member archive of 40 KB members that compress about 2:1, made once.
struct Archive {
    QTemporaryDir folder;
    QString devicePath = QStringLiteral("\\bench.zip");
    QByteArray hostPath;

    Archive()
    {
        DevicePath::SetDeviceRoot(folder.path());
        MessageBoxService::SetEcho(false);
        hostPath = QFile::encodeName(QDir(folder.path()).filePath("bench.zip"));
        zipFile zip = zipOpen(hostPath.constData(), APPEND_STATUS_CREATE);
        uint32_t noise = 7;
        QByteArray data(40000, '\0');
        for (int i = 0; i < kMembers; ++i) {
            for (char& c : data)
                c = char("0123456789abcdef"[(noise = noise * 1664525u + 1013904223u) >> 28]);
            zip_fileinfo info {};
            zipOpenNewFileInZip(zip, MemberName(i).toLatin1().constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                                Z_DEFLATED, Z_DEFAULT_COMPRESSION);
            zipWriteInFileInZip(zip, data.constData(), unsigned(data.size()));
            zipCloseFileInZip(zip);
        }
        zipClose(zip, nullptr);
    }
};

Archive& TheArchive()
{
    static Archive archive;
    return archive;
}

void ListFloor(const char* path)
{
    unzFile zip = unzOpen(path);
    char name[256];
    unz_file_info info;
    for (int r = unzGoToFirstFile(zip); r == UNZ_OK; r = unzGoToNextFile(zip)) {
        unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        benchmark::DoNotOptimize(info);
    }
    unzClose(zip);
}

void ReadLastFloor(const char* path, QByteArray* into)
{
    unzFile zip = unzOpen(path);
    unzGoToFirstFile(zip);
    for (int i = 1; i < kMembers; ++i)
        unzGoToNextFile(zip);
    unzOpenCurrentFile(zip);
    char buffer[1024];
    into->clear();
    for (int n; (n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0;)
        into->append(buffer, n);
    unzCloseCurrentFile(zip);
    unzClose(zip);
}

void Report(benchmark::State& state, double total, double floor)
{
    state.counters["floor_us"] = floor / double(state.iterations()) * 1e6;
    state.counters["x_floor"] = total / floor;
}

void BM_ListZipPictures(benchmark::State& state)
{
    Archive& archive = TheArchive();
    double total = 0, floor = 0;
    for (auto _ : state) {
        int count = 0;
        double t0 = Now();
        ListZipPictures(archive.devicePath, [&](const CZipMemberInfo&) { return ++count > 0; });
        const double t = Now() - t0;
        t0 = Now();
        ListFloor(archive.hostPath.constData());
        floor += Now() - t0;
        total += t;
        state.SetIterationTime(t);
        if (count != kMembers)
            state.SkipWithError("wrong member count");
    }
    Report(state, total, floor);
}
BENCHMARK(BM_ListZipPictures)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_FindAndReadLastMember(benchmark::State& state)
{
    Archive& archive = TheArchive();
    const QString last = MemberName(kMembers - 1);
    QByteArray bytes;
    double total = 0, floor = 0;
    for (auto _ : state) {
        double t0 = Now();
        {
            QByteArray read;
            if (FindZipMember(archive.devicePath, last, nullptr, &read) != ZipFindResult::Found)
                state.SkipWithError("member not read");
        }
        const double t = Now() - t0;
        t0 = Now();
        ReadLastFloor(archive.hostPath.constData(), &bytes);
        floor += Now() - t0;
        total += t;
        state.SetIterationTime(t);
    }
    Report(state, total, floor);
}
BENCHMARK(BM_FindAndReadLastMember)->UseManualTime()->Unit(benchmark::kMicrosecond);

// ---- Archive build beside a loose folder ---------------------------------

// 5,000 unless $LUMO_BENCH_ZIP_MEMBERS asks for another count.
int BuildMembers()
{
    static const int members = [] {
        const int asked = qEnvironmentVariableIntValue("LUMO_BENCH_ZIP_MEMBERS");
        return asked > 0 ? asked : 5000;
    }();
    return members;
}

// A 24-bit 16 x 12 BMP, its pixels varied by seed.
QByteArray SmallBmp(uint32_t seed)
{
    constexpr int kWidth = 16, kHeight = 12, kStride = kWidth * 3;
    QByteArray bmp(54 + kStride * kHeight, '\0');
    auto put = [&](int at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[at + i] = char(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, uint32_t(bmp.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, kWidth, 4);
    put(22, kHeight, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, uint32_t(kStride * kHeight), 4);
    for (int i = 54; i < bmp.size(); ++i)
        bmp[i] = char((seed = seed * 1664525u + 1013904223u) >> 24);
    return bmp;
}

// The same pictures as \\many.zip and as the loose folder \\many.
// Both lie in the folder of the archive above, the device root.
struct ManyPictures {
    const QString archive = QStringLiteral("\\many.zip");
    const QString loose = QStringLiteral("\\many");

    ManyPictures()
    {
        const QDir root(TheArchive().folder.path());
        root.mkpath(QStringLiteral("many"));
        zipFile zip = zipOpen(QFile::encodeName(root.filePath("many.zip")).constData(), APPEND_STATUS_CREATE);
        for (int i = 0; i < BuildMembers(); ++i) {
            const QString name = QStringLiteral("p%1.bmp").arg(i, 5, 10, QLatin1Char('0'));
            const QByteArray bytes = SmallBmp(uint32_t(i) + 1);
            zip_fileinfo info {};
            zipOpenNewFileInZip(zip, name.toLatin1().constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                Z_DEFAULT_COMPRESSION);
            zipWriteInFileInZip(zip, bytes.constData(), unsigned(bytes.size()));
            zipCloseFileInZip(zip);
            QFile file(root.filePath(QStringLiteral("many/") + name));
            if (file.open(QIODevice::WriteOnly))
                file.write(bytes);
        }
        zipClose(zip, nullptr);
    }
};

ManyPictures& ThePictures()
{
    static ManyPictures pictures;
    return pictures;
}

void Build(benchmark::State& state, bool archive, int mode)
{
    ManyPictures& pictures = ThePictures();
    const QString& path = archive ? pictures.archive : pictures.loose;
    CImageCatalog catalog;
    for (auto _ : state) {
        state.PauseTiming();
        catalog.RemoveAll();
        state.ResumeTiming();
        catalog.SetSourcePath(path);
        catalog.BuildList(path, 0, mode);
    }
    if (catalog.GetCount() != BuildMembers())
        state.SkipWithError("not every picture was listed");
    state.counters["entries"] = catalog.GetCount();
}

}  // namespace

int main(int argc, char** argv)
{
    auto add = [](const char* name, bool archive, int mode) {
        benchmark::RegisterBenchmark(name, [=](benchmark::State& s) { Build(s, archive, mode); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    };
    add("archive_list_build", true, 0);
    add("folder_list_build", false, 0);
    add("archive_thumbnail_build", true, 1);
    add("folder_thumbnail_build", false, 1);
    benchmark::Initialize(&argc, argv);
    BenchSupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("%d members beside a loose folder of the same files:\n", BuildMembers());
    reporter.PrintRatio("list mode build: archive / folder", "archive_list_build", "folder_list_build");
    reporter.PrintRatio("thumbnail build: archive / folder", "archive_thumbnail_build", "folder_thumbnail_build");
    benchmark::Shutdown();
    return 0;
}
