// The PNG writer alone at 2048 x 2048, on one thread and on two: 8-bit RGB,
// 16-bit RGB and 16-bit grey. Bytes per second are the PNG's raw samples
// per second, so the figures compare across kinds; the ratio of the two
// thread counts is what the bands bring.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

#include "png/png_export.h"
#include "texture/parallel.h"
#include "texture/texture.h"

namespace {

const int32_t SIDE = 2048;

// Smooth ramps with a little noise, compressing about as a rendered picture
// does; grey when asked.
std::vector<DeepPixel> pictureLike(bool grey)
{
    std::vector<DeepPixel> pixels(pixelCount(SIDE));
    uint32_t seed = 1;
    for (int32_t y = 0; y < SIDE; ++y)
        for (int32_t x = 0; x < SIDE; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const uint32_t level = (uint32_t)(x * 23 + y * 11 + (int32_t)(seed >> 26)) & 0xFFFF;
            const uint32_t other = grey ? level : (level * 3 + (seed >> 28)) & 0xFFFF;
            pixels[(size_t)y * SIDE + x]
                = ((DeepPixel)level << 32) | ((DeepPixel)other << 16) | (grey ? level : 0x8000);
        }
    return pixels;
}

// range(0): bits per sample; range(1): 1 for grey; range(2): threads.
void BM_PngWriterAt2048(benchmark::State& state)
{
    const int32_t bits = (int32_t)state.range(0);
    const bool grey = state.range(1) != 0;
    setOperationThreads((int32_t)state.range(2));
    const std::vector<DeepPixel> pixels = pictureLike(grey);
    FILE* file = tmpfile();
    for (auto _ : state) {
        rewind(file);
        if (writeTexturePng(imageOf(pixels.data(), SIDE, bits), file)) {
            state.SkipWithError("the write failed");
            break;
        }
    }
    state.counters["file MB"] = (double)ftell(file) / 1e6;
    fclose(file);
    setOperationThreads(1);
    const int64_t raw = (int64_t)pixelCount(SIDE) * (grey ? 1 : 3) * (bits / 8);
    state.SetBytesProcessed((int64_t)state.iterations() * raw);
}

} // namespace

BENCHMARK(BM_PngWriterAt2048)
    ->ArgNames({ "bits", "grey", "threads" })
    ->Args({ 8, 0, 1 })
    ->Args({ 8, 0, 2 })
    ->Args({ 16, 0, 1 })
    ->Args({ 16, 0, 2 })
    ->Args({ 16, 1, 1 })
    ->Args({ 16, 1, 2 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
