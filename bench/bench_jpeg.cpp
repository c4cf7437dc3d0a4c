// The loader's JPEG paths beside their floor, the bare libjpeg-turbo decode of
// the same 4000 x 3000 file from memory: LoadThumbnail against the 1/8 decode,
// LoadPicture in view mode against the 1/4 decode. Prints the ratios of the
// medians at the end.
//
// The picture is /tmp/lumo-bench/jpeg-4000x3000/IMG_0001.JPG when the bench
// corpus has been generated there (or the file named by LUMO_BENCH_JPEG);
// otherwise a photo-like 4000 x 3000 JPEG is made once in the temporary folder.
#include "app/image_item.h"
#include "image/image_loader.h"
#include "platform/device_path.h"

#include "bench/bench_support.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace BenchSupport;

// Smooth waves plus grain, so the entropy coder has realistic work to do.
QString MakePicture(const QString& path)
{
    const int width = 4000, height = 3000;
    jpeg_compress_struct c {};
    jpeg_error_mgr err {};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    jpeg_stdio_dest(&c, out);
    c.image_width = width;
    c.image_height = height;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::mt19937 random(7);
    std::vector<uint8_t> row(size_t(width) * 3);
    while (c.next_scanline < c.image_height) {
        const double y = c.next_scanline;
        for (int x = 0; x < width; ++x) {
            const int grain = int(random() % 48) - 24;
            const double a = std::sin(x / 97.0) * std::cos(y / 131.0);
            const double b = std::sin((x + y) / 53.0);
            row[size_t(x) * 3 + 0] = uint8_t(std::clamp(int(128 + 90 * a) + grain, 0, 255));
            row[size_t(x) * 3 + 1] = uint8_t(std::clamp(int(128 + 70 * b) + grain, 0, 255));
            row[size_t(x) * 3 + 2] = uint8_t(std::clamp(int(128 + 60 * a * b) + grain, 0, 255));
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(out);
    return path;
}

const QString& PicturePath()
{
    static const QString path = [] {
        if (const char* env = std::getenv("LUMO_BENCH_JPEG"))
            return QString::fromLocal8Bit(env);
        const QString corpus = QStringLiteral("/tmp/lumo-bench/jpeg-4000x3000/IMG_0001.JPG");
        if (QFileInfo::exists(corpus))
            return corpus;
        const QString made = QDir::tempPath() + QStringLiteral("/lumo-bench-4000x3000.jpg");
        return QFileInfo::exists(made) ? made : MakePicture(made);
    }();
    return path;
}

const QByteArray& PictureBytes()
{
    static const QByteArray bytes = [] {
        QFile file(PicturePath());
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    return bytes;
}

// The item's device path, with the device confined to the picture's folder.
QString DevicePathOfPicture()
{
    const QFileInfo info(PicturePath());
    DevicePath::SetDeviceRoot(info.absolutePath());
    return QStringLiteral("\\") + info.fileName();
}

void BareDecode(benchmark::State& state, int denominator)
{
    const QByteArray& bytes = PictureBytes();
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        jpeg_decompress_struct d {};
        jpeg_error_mgr err {};
        d.err = jpeg_std_error(&err);
        jpeg_create_decompress(&d);
        jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
        jpeg_read_header(&d, TRUE);
        d.scale_num = 1;
        d.scale_denom = denominator;
        jpeg_start_decompress(&d);
        const size_t rowBytes = size_t(d.output_width) * d.output_components;
        pixels.resize(rowBytes * d.output_height);
        while (d.output_scanline < d.output_height) {
            JSAMPROW row = pixels.data() + rowBytes * d.output_scanline;
            jpeg_read_scanlines(&d, &row, 1);
        }
        jpeg_finish_decompress(&d);
        jpeg_destroy_decompress(&d);
        benchmark::DoNotOptimize(pixels.data());
    }
}

void BM_BareDecodeEighth(benchmark::State& state)
{
    BareDecode(state, 8);
}

void BM_BareDecodeQuarter(benchmark::State& state)
{
    BareDecode(state, 4);
}

void BM_LoadThumbnail(benchmark::State& state)
{
    CImageLoader loader;
    CImageItem item;
    item.m_path = DevicePathOfPicture();
    for (auto _ : state)
        if (!loader.LoadThumbnail(item.m_picture, item.File()))
            state.SkipWithError("LoadThumbnail failed");
}

void BM_LoadPictureView(benchmark::State& state)
{
    CImageLoader loader;
    CImageItem item;
    item.m_path = DevicePathOfPicture();
    for (auto _ : state) {
        if (!loader.LoadPicture(item.m_picture, item.File(), CImageLoader::kModeView, false))
            state.SkipWithError("LoadPicture failed");
        item.m_picture.FreePicture();
    }
}

BENCHMARK(BM_BareDecodeEighth)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareDecodeQuarter)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadPictureView)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=9";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    bool repetitionsGiven = false;
    for (int i = 1; i < argc; ++i)
        repetitionsGiven |= std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    if (!repetitionsGiven) {
        args.push_back(repetitions.data());
        args.push_back(aggregates.data());
    }
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    std::printf("picture: %s (%lld bytes)\n", qPrintable(PicturePath()), static_cast<long long>(PictureBytes().size()));
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* load, const char* floor, const char* label) {
        const auto a = reporter.medians.find(load);
        const auto b = reporter.medians.find(floor);
        if (a == reporter.medians.end() || b == reporter.medians.end() || b->second.real <= 0 || b->second.cpu <= 0)
            return;
        // CPU time too: on a shared machine the wall clock also counts waiting for a core.
        std::printf("%s: real %.3f ms vs %.3f ms = %.3f x; cpu %.3f ms vs %.3f ms = %.3f x (target <= 1.15)\n", label,
                    a->second.real, b->second.real, a->second.real / b->second.real, a->second.cpu, b->second.cpu,
                    a->second.cpu / b->second.cpu);
    };
    ratio("BM_LoadThumbnail", "BM_BareDecodeEighth", "LoadThumbnail / bare 1/8 decode (medians)");
    ratio("BM_LoadPictureView", "BM_BareDecodeQuarter", "LoadPicture view / bare 1/4 decode (medians)");
    benchmark::Shutdown();
    return 0;
}
