// What the benchmarks share: where the generated picture corpus lies, a
// reporter that keeps every benchmark's medians for the ratios printed after
// the run, a picture of noise, and a catalog build on the calling thread.
#pragma once

#include "app/image_catalog.h"
#include "image/gdi.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace BenchSupport {

// The corpus made by make-corpus: $LUMO_BENCH_DIR, else /tmp/lumo-bench.
inline std::string BenchDir()
{
    const char* dir = std::getenv("LUMO_BENCH_DIR");
    return dir ? dir : "/tmp/lumo-bench";
}

// Prints as the console reporter does and keeps the median real and CPU
// time of each benchmark, by name.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0;
        double cpu = 0;
        const char* unit = "ms";  // of both times
    };
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(),
                                                       benchmark::GetTimeUnitString(run.time_unit)};
        ConsoleReporter::ReportRuns(runs);
    }
    // "label  a ms vs b ms  ratio a/b" in real time, when both ran (with the
    // same time unit).
    void PrintRatio(const char* label, const std::string& a, const std::string& b) const
    {
        const auto x = medians.find(a);
        const auto y = medians.find(b);
        if (x != medians.end() && y != medians.end() && y->second.real > 0)
            std::printf("%-34s %10.2f %s vs %10.2f %s  ratio %.3f\n", label, x->second.real, x->second.unit,
                        y->second.real, y->second.unit, x->second.real / y->second.real);
    }
    std::map<std::string, Times> medians;
};

// A 24-bit picture of deterministic noise (nothing compresses or repeats).
inline HBITMAP NoisePicture(int width, int height)
{
    HBITMAP b = CreateBitmap(width, height, 1, 24, nullptr);
    uint32_t noise = 12345;
    uint8_t* bits = b->Bits();
    for (size_t i = 0; i < size_t(b->Stride()) * height; ++i, noise = noise * 1664525u + 1013904223u)
        bits[i] = uint8_t(noise >> 24);
    return b;
}

// The catalog of a device folder built on this thread in a thumbnail mode:
// the floor any build of the same folder is measured against.
inline void CatalogBuild(benchmark::State& state, const QString& folder, int mode)
{
    CImageCatalog catalog;
    for (auto _ : state) {
        state.PauseTiming();
        catalog.RemoveAll();
        state.ResumeTiming();
        catalog.SetSourcePath(folder);
        catalog.BuildList(folder, 0, mode);
    }
    state.counters["entries"] = catalog.GetCount();
}

}  // namespace BenchSupport
