// Warp costs at the control panel's most expensive settings; each must fit
// well inside one 60 Hz frame.

#include <benchmark/benchmark.h>
#include <vector>

#include "texture/texture.h"
#include "texture/warps.h"

namespace {

std::vector<Pixel> noiseTexture()
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT);
    uint32_t seed = 12345;
    for (Pixel& pixel : pixels) {
        seed = seed * 1664525u + 1013904223u;
        pixel = seed >> 8;
    }
    return pixels;
}

void BM_DeformMost(benchmark::State& state)
{
    std::vector<Pixel> pixels = noiseTexture();
    for (auto _ : state) {
        deformTexture(pixels.data(), TEXTURE_SIZE, 100, 256, 100, 256);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DeformMost)->Unit(benchmark::kMillisecond);

void BM_Twirl(benchmark::State& state)
{
    std::vector<Pixel> pixels = noiseTexture();
    for (auto _ : state) {
        twirlTexture(pixels.data(), TEXTURE_SIZE, (int32_t)state.range(0));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Twirl)->Arg(128)->Arg(-128)->Unit(benchmark::kMillisecond);

void BM_Move(benchmark::State& state)
{
    std::vector<Pixel> pixels = noiseTexture();
    for (auto _ : state) {
        moveTexture(pixels.data(), TEXTURE_SIZE, 128, 128);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Move)->Unit(benchmark::kMillisecond);

} // namespace
