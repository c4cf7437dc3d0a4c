// The view load of a PNG and a GIF as the loader does it (a header-only call
// at 20 %, then the decode at the scale computed from it), each beside the
// bare library decode of the same file at full size, measured in the same run.
// Prints the ratio of the medians (CPU time). Pictures come from the benchmark
// corpus (LUMO_BENCH_DIR, default /tmp/lumo-bench, made by make-corpus).
//
// One picture is made here: a 20000 x 20000 grey PNG of one level (some
// 400 KB), whose view load is timed beside inflating its pixel data alone,
// the work no decoder can skip: the reduction must cost what the output
// needs, not a step per source pixel.
#include "image/image_decoder.h"

#include "bench/bench_support.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <spng.h>
#include <unistd.h>
#include <zlib.h>

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace BenchSupport;

std::string PictureOf(const std::string& relative)
{
    return BenchDir() + "/" + relative;
}

std::vector<char> ReadWhole(const std::string& path)
{
    std::vector<char> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fseek(f, 0, SEEK_END);
        bytes.resize(size_t(std::ftell(f)));
        std::fseek(f, 0, SEEK_SET);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    return bytes;
}

// The two passes of the loader in view mode (target width 320): the scale of
// the second comes from the full size the first read from the header.
void ViewLoad(benchmark::State& state, const std::string& path)
{
    const QString file = QString::fromStdString(path);
    for (auto _ : state) {
        DecompressImageInfo info;
        info.path = file;
        info.iScale = 20;
        info.headerOnly = true;
        if (DecompressImageIndirect(&info) != 0) {
            state.SkipWithError("header");
            return;
        }
        info.iScale = info.fullWidth >= 320 ? 320 * 100 / info.fullWidth : 100;
        info.headerOnly = false;
        HBITMAP bitmap = nullptr;
        info.phBM = &bitmap;
        if (DecompressImageIndirect(&info) != 0) {
            state.SkipWithError("decode");
            return;
        }
        benchmark::DoNotOptimize(bitmap->Bits());
        DeleteObject(bitmap);
    }
}

// libspng alone: the file read into memory and decoded whole to 8-bit RGB, or
// RGBA when it has alpha.
void BarePng(benchmark::State& state, const std::string& path)
{
    for (auto _ : state) {
        std::vector<char> bytes = ReadWhole(path);
        spng_ctx* ctx = spng_ctx_new(0);
        spng_set_png_buffer(ctx, bytes.data(), bytes.size());
        spng_ihdr ihdr;
        spng_get_ihdr(ctx, &ihdr);
        spng_trns trns;
        const bool alpha = ihdr.color_type == 4 || ihdr.color_type == 6 || spng_get_trns(ctx, &trns) == 0;
        const int fmt = alpha ? SPNG_FMT_RGBA8 : SPNG_FMT_RGB8;
        size_t size = 0;
        spng_decoded_image_size(ctx, fmt, &size);
        std::unique_ptr<uint8_t[]> image(new uint8_t[size]);
        if (spng_decode_image(ctx, image.get(), size, fmt, SPNG_DECODE_TRNS) != 0)
            state.SkipWithError("spng");
        benchmark::DoNotOptimize(image.get());
        spng_ctx_free(ctx);
    }
}

// giflib alone: the whole file slurped into its frames' index rasters.
void BareGif(benchmark::State& state, const std::string& path)
{
    for (auto _ : state) {
        int error = 0;
        GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
        if (!gif || DGifSlurp(gif) != GIF_OK)
            state.SkipWithError("giflib");
        else
            benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
        DGifCloseFile(gif, &error);
    }
}

constexpr int kHugeSide = 20000;

// The grey PNG of one level, made once: its file and its zlib stream.
struct HugeGreyPng {
    std::string path;
    std::vector<uint8_t> zlibData;

    HugeGreyPng()
    {
        z_stream z {};
        deflateInit(&z, Z_BEST_COMPRESSION);
        std::vector<uint8_t> row(kHugeSide + 1, 0x80);
        row[0] = 0;  // no filter
        std::vector<uint8_t> out(1 << 16);
        for (int y = 0; y < kHugeSide; ++y) {
            z.next_in = row.data();
            z.avail_in = uInt(row.size());
            const int flush = y + 1 == kHugeSide ? Z_FINISH : Z_NO_FLUSH;
            do {
                z.next_out = out.data();
                z.avail_out = uInt(out.size());
                deflate(&z, flush);
                zlibData.insert(zlibData.end(), out.data(), z.next_out);
            } while (z.avail_out == 0);
        }
        deflateEnd(&z);
        std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
        const auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
            const uint32_t n = uint32_t(data.size());
            file.insert(file.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
            const size_t start = file.size();
            file.insert(file.end(), type, type + 4);
            file.insert(file.end(), data.begin(), data.end());
            const uint32_t crc = uint32_t(crc32(0, file.data() + start, uInt(file.size() - start)));
            file.insert(file.end(), {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
        };
        const uint8_t side[4]
            = {uint8_t(kHugeSide >> 24), uint8_t(kHugeSide >> 16), uint8_t(kHugeSide >> 8), uint8_t(kHugeSide)};
        std::vector<uint8_t> ihdr(side, side + 4);
        ihdr.insert(ihdr.end(), side, side + 4);
        ihdr.insert(ihdr.end(), {8, 0, 0, 0, 0});  // 8-bit grey, not interlaced
        chunk("IHDR", ihdr);
        chunk("IDAT", zlibData);
        chunk("IEND", {});
        char name[] = "/tmp/lumo-bench-grey-XXXXXX";
        const int fd = mkstemp(name);
        path = name;
        if (fd >= 0) {
            if (write(fd, file.data(), file.size()) != ssize_t(file.size()))
                path.clear();
            close(fd);
        }
    }
    ~HugeGreyPng()
    {
        if (!path.empty())
            unlink(path.c_str());
    }
};

// zlib alone: the pixel data inflated row by row into one row buffer.
void BareInflate(benchmark::State& state, const HugeGreyPng* png)
{
    std::vector<uint8_t> row(kHugeSide + 1);
    for (auto _ : state) {
        z_stream z {};
        inflateInit(&z);
        z.next_in = const_cast<uint8_t*>(png->zlibData.data());
        z.avail_in = uInt(png->zlibData.size());
        int status = Z_OK;
        while (status == Z_OK) {
            z.next_out = row.data();
            z.avail_out = uInt(row.size());
            status = inflate(&z, Z_NO_FLUSH);
        }
        if (status != Z_STREAM_END)
            state.SkipWithError("inflate");
        benchmark::DoNotOptimize(row.data());
        inflateEnd(&z);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    struct Pair {
        std::string label, file;
        bool png;
    };
    const Pair pairs[] = {
        {"png_rgb", "png-2000x1500/png_03.png", true},
        {"png_rgba", "png-2000x1500/png_02.png", true},
        {"png_interlaced", "png-2000x1500/png_01.png", true},
        {"gif_dithered", "gif-800x600/gif_01.gif", false},
        {"gif_interlaced", "gif-800x600/gif_02.gif", false},
        // The same two PNGs at 16 bits a sample (scripts/bench.sh makes them):
        // their bare decode asks libspng for 8-bit samples, as a view needs.
        {"png16_rgb", "png16-2000x1500/png_03.png", true},
        {"png16_rgba", "png16-2000x1500/png_02.png", true},
    };
    std::vector<const Pair*> present;
    for (const Pair& p : pairs) {
        if (!std::ifstream(PictureOf(p.file)).good()) {
            std::fprintf(stderr, "missing %s: run make-corpus %s small\n", PictureOf(p.file).c_str(),
                         BenchDir().c_str());
            continue;
        }
        present.push_back(&p);
        const std::string path = PictureOf(p.file);
        benchmark::RegisterBenchmark(("view_" + p.label).c_str(), ViewLoad, path)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(7)
            ->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark(("bare_" + p.label).c_str(), p.png ? BarePng : BareGif, path)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(7)
            ->ReportAggregatesOnly(true);
    }
    const HugeGreyPng huge;
    if (!huge.path.empty()) {
        benchmark::RegisterBenchmark("view_png_huge_grey", ViewLoad, huge.path)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark("inflate_png_huge_grey", BareInflate, &huge)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const Pair* p : present) {
        const auto view = reporter.medians.find("view_" + p->label);
        const auto bare = reporter.medians.find("bare_" + p->label);
        if (view != reporter.medians.end() && bare != reporter.medians.end() && bare->second.cpu > 0)
            std::printf("%-16s view load %.2f ms, bare decode %.2f ms, ratio %.3f\n", p->label.c_str(),
                        view->second.cpu, bare->second.cpu, view->second.cpu / bare->second.cpu);
    }
    const auto view = reporter.medians.find("view_png_huge_grey");
    const auto inflated = reporter.medians.find("inflate_png_huge_grey");
    if (view != reporter.medians.end() && inflated != reporter.medians.end() && inflated->second.cpu > 0)
        std::printf("%-16s view load %.2f ms, inflate alone %.2f ms, ratio %.3f\n", "png_huge_grey", view->second.cpu,
                    inflated->second.cpu, view->second.cpu / inflated->second.cpu);
    benchmark::Shutdown();
    return 0;
}
