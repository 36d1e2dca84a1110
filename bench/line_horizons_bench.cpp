// The horizon sweep of the occlusion map alone: two lines of 2048 heights
// swept both ways side by side, by the plain code (range 0) and by the fast
// path (range 1). Items per second are horizons found per second. The fast
// path is kept while it is the faster.

#include <benchmark/benchmark.h>

#include "texture/line_horizons.h"

namespace {

void BM_LineHorizons(benchmark::State& state)
{
    const int32_t n = 2048;
    LineRoom& room = lineRoom(LINES_SWEPT, n);
    // A rolling line: its slope wanders, as a smooth texture's does.
    uint32_t seed = 7;
    for (int32_t b = 0; b < LINES_SWEPT; ++b) {
        int32_t height = 32768, slope = 0;
        for (int32_t i = 0; i < n; ++i) {
            seed = seed * 1664525u + 1013904223u;
            slope = slope * 15 / 16 + (int32_t)(seed >> 24) - 128;
            height = height + slope < 0 ? 0 : height + slope > 65535 ? 65535 : height + slope;
            room.places[(size_t)(b * lineStride(n) + i)] = height;
        }
    }
    int32_t highest[LINES_SWEPT];
    for (auto _ : state) {
        if (state.range(0) == 1)
            sweepLineHorizons<SWEEP_FAST>(room, 0, LINES_SWEPT, highest);
        else
            sweepLineHorizons<SWEEP_PLAIN>(room, 0, LINES_SWEPT, highest);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed((int64_t)state.iterations() * LINES_SWEPT * 2 * n);
}

} // namespace

BENCHMARK(BM_LineHorizons)->ArgName("fast")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
