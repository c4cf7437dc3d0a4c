// ZIP listing and member copy, each timed beside bare minizip doing the same
// reading in the same iteration: the floor. The counter "x_floor" is the
// operation's time divided by the floor's. Times are the thread's CPU time.
//
// Listing: ListZipPictures against unzGetCurrentFileInfo over every member
// (names, sizes, times). Copy: FindZipMember of the last member (it opens
// every member on the way, checks the CRC and writes a temporary file) against
// walking to that member and reading its bytes into memory.
#include "image/zip_archive.h"
#include "platform/device_path.h"
#include "platform/message_box.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <minizip/unzip.h>
#include <minizip/zip.h>

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

void BM_FindAndCopyLastMember(benchmark::State& state)
{
    Archive& archive = TheArchive();
    const QString last = MemberName(kMembers - 1);
    QByteArray bytes;
    double total = 0, floor = 0;
    for (auto _ : state) {
        double t0 = Now();
        {
            CZipTempCopy copy;
            if (FindZipMember(archive.devicePath, last, nullptr, &copy) != ZipFindResult::Found)
                state.SkipWithError("member not copied");
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
BENCHMARK(BM_FindAndCopyLastMember)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
