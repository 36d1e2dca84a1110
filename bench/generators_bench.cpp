// Cost of each base generator at the control panel's most expensive settings,
// and of the four generator calls made at start-up.

#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

#include "texture/generators.h"
#include "texture/random.h"
#include "texture/texture.h"

namespace {

void BM_Cells99Size200(benchmark::State& state)
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT);
    randomSeed = 1;
    for (auto _ : state) {
        generateCells(pixels.data(), TEXTURE_SIZE, 99, 200);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Cells99Size200)->Unit(benchmark::kMillisecond);

// The plasma needs an empty target, so every run includes emptying it, as
// the Plasma command does.
void BM_Plasma100(benchmark::State& state)
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT);
    randomSeed = 1;
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), EMPTY_PIXEL);
        generatePlasma(pixels.data(), TEXTURE_SIZE, 100);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Plasma100)->Unit(benchmark::kMillisecond);

void BM_Pong256(benchmark::State& state)
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT);
    for (auto _ : state) {
        generatePong(pixels.data(), TEXTURE_SIZE, 256);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Pong256)->Unit(benchmark::kMillisecond);

void BM_Sine99x99(benchmark::State& state)
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT);
    for (auto _ : state) {
        generateSine(pixels.data(), TEXTURE_SIZE, 99, 99);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Sine99x99)->Unit(benchmark::kMillisecond);

// The four start-up textures, generated from the initial seed.
void BM_StartUpTextures(benchmark::State& state)
{
    std::vector<Pixel> slots[4];
    for (std::vector<Pixel>& slot : slots)
        slot.resize(TEXTURE_PIXEL_COUNT);
    for (auto _ : state) {
        randomSeed = 1;
        std::fill(slots[1].begin(), slots[1].end(), EMPTY_PIXEL);
        generateCells(slots[0].data(), TEXTURE_SIZE, 20, 50);
        generatePlasma(slots[1].data(), TEXTURE_SIZE, 20);
        generatePong(slots[2].data(), TEXTURE_SIZE, 128);
        generateSine(slots[3].data(), TEXTURE_SIZE, 5, 7);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StartUpTextures)->Unit(benchmark::kMillisecond);

} // namespace
