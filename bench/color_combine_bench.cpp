// Costs of the colour operations and the combiners on a whole texture.

#include <benchmark/benchmark.h>
#include <vector>

#include "texture/color_ops.h"
#include "texture/combiners.h"
#include "texture/texture.h"

namespace {

std::vector<Pixel> noiseTexture(uint32_t seed)
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT);
    for (Pixel& pixel : pixels) {
        seed = seed * 1664525u + 1013904223u;
        pixel = seed >> 8;
    }
    return pixels;
}

void BM_Colorize(benchmark::State& state)
{
    std::vector<Pixel> pixels = noiseTexture(1);
    for (auto _ : state) {
        colorizeTexture(pixels.data(), TEXTURE_SIZE, 255, 0, 0, 0, 255, 255);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Colorize)->Unit(benchmark::kMicrosecond);

void BM_Invert(benchmark::State& state)
{
    std::vector<Pixel> pixels = noiseTexture(1);
    for (auto _ : state) {
        invertTexture(pixels.data(), TEXTURE_SIZE);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Invert)->Unit(benchmark::kMicrosecond);

void BM_Clear(benchmark::State& state)
{
    std::vector<Pixel> pixels = noiseTexture(1);
    for (auto _ : state) {
        clearTexture(pixels.data(), TEXTURE_SIZE, 255, 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Clear)->Unit(benchmark::kMicrosecond);

// Runs one combiner on two noise textures; the source stays fixed.
template <void (*combine)(Pixel*, const Pixel*, int32_t)> void BM_Combine(benchmark::State& state)
{
    std::vector<Pixel> target = noiseTexture(1);
    std::vector<Pixel> source = noiseTexture(2);
    for (auto _ : state) {
        combine(target.data(), source.data(), TEXTURE_SIZE);
        benchmark::ClobberMemory();
    }
}
BENCHMARK_TEMPLATE(BM_Combine, addTexture)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Combine, subtractTexture)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Combine, copyTexture)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Combine, maxTexture)->Unit(benchmark::kMicrosecond);

void BM_Mix(benchmark::State& state)
{
    std::vector<Pixel> target = noiseTexture(1);
    std::vector<Pixel> source = noiseTexture(2);
    for (auto _ : state) {
        mixTexture(target.data(), source.data(), TEXTURE_SIZE, 128);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Mix)->Unit(benchmark::kMicrosecond);

} // namespace
