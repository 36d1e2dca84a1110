// The normal map's cost per pixel beside the twirl's, the costliest
// operation, on one thread at 2048 x 2048: the normal map from 16-bit
// heights into 8 or 16 bits, as the renderer works it out, and the twirl at
// either depth. Items per second are pixels per second. The occlusion map
// beside them counts a pixel once per direction, so its items per second
// are horizons found per second; at 4096 it runs on two threads.

#include <benchmark/benchmark.h>
#include <vector>

#include "session/step.h"
#include "tests/session/slots.h"
#include "texture/normal_map.h"
#include "texture/occlusion_map.h"
#include "texture/parallel.h"
#include "texture/texture.h"

namespace {

const int32_t SIDE = 2048;

std::vector<DeepPixel> deepNoise(uint32_t seed, int32_t side = SIDE)
{
    std::vector<DeepPixel> pixels(pixelCount(side));
    for (DeepPixel& pixel : pixels) {
        seed = seed * 1664525u + 1013904223u;
        DeepPixel high = seed;
        seed = seed * 1664525u + 1013904223u;
        pixel = ((high << 32) | seed) & Depth<DeepPixel>::COLOR_BITS;
    }
    return pixels;
}

// The normal map of 16-bit heights, written with 8 bits (range 8) or 16.
template <class Q> void normalMapInto(benchmark::State& state)
{
    setOperationThreads(1);
    const std::vector<DeepPixel> heights = deepNoise(1);
    std::vector<Q> normals(heights.size());
    for (auto _ : state) {
        generateNormalMap(heights.data(), SIDE, NormalOptions(), normals.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed((int64_t)state.iterations() * (int64_t)heights.size());
}

void BM_NormalMapAt2048(benchmark::State& state)
{
    if (state.range(0) == 8)
        normalMapInto<Pixel>(state);
    else
        normalMapInto<DeepPixel>(state);
}

// The occlusion map of 16-bit heights at the default relief, written with
// 8 bits or 16 (range 8 or 16), on `threads` threads.
template <class Q> void occlusionMapInto(benchmark::State& state, int32_t side, int32_t threads)
{
    setOperationThreads(threads);
    const std::vector<DeepPixel> heights = deepNoise(3, side);
    std::vector<Q> occlusion(heights.size());
    for (auto _ : state) {
        generateOcclusionMap(heights.data(), side, DEFAULT_RELIEF, occlusion.data());
        benchmark::ClobberMemory();
    }
    setOperationThreads(1);
    state.SetItemsProcessed(
        (int64_t)state.iterations() * (int64_t)heights.size() * OCCLUSION_DIRECTIONS);
}

void BM_OcclusionMapAt2048(benchmark::State& state)
{
    if (state.range(0) == 8)
        occlusionMapInto<Pixel>(state, SIDE, 1);
    else
        occlusionMapInto<DeepPixel>(state, SIDE, 1);
}

void BM_OcclusionMapAt4096OnTwoThreads(benchmark::State& state)
{
    if (state.range(0) == 8)
        occlusionMapInto<Pixel>(state, 2 * SIDE, 2);
    else
        occlusionMapInto<DeepPixel>(state, 2 * SIDE, 2);
}

// The panel's twirl, on slot 1 of noise, at depth 8 (range 8) or 16.
template <class P> void twirlAtDepth(benchmark::State& state)
{
    setOperationThreads(1);
    const std::vector<DeepPixel> noise = deepNoise(2);
    std::vector<P> slot(noise.size()), scratch(noise.size());
    for (size_t i = 0; i < noise.size(); ++i)
        slot[i] = (P)noise[i] & Depth<P>::COLOR_BITS;
    P* const slots[SLOT_COUNT] = { slot.data(), slot.data(), slot.data(), slot.data() };
    const Step twirl = testsupport::makeStep(OPERATION_TWIRL, 0, 1, { 64 });
    for (auto _ : state) {
        applyStep(slots, SIDE, twirl, scratch.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed((int64_t)state.iterations() * (int64_t)noise.size());
}

void BM_TwirlAt2048(benchmark::State& state)
{
    if (state.range(0) == 8)
        twirlAtDepth<Pixel>(state);
    else
        twirlAtDepth<DeepPixel>(state);
}

BENCHMARK(BM_NormalMapAt2048)->ArgName("bits")->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OcclusionMapAt2048)->ArgName("bits")->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OcclusionMapAt4096OnTwoThreads)
    ->ArgName("bits")
    ->Arg(8)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_TwirlAt2048)->ArgName("depth")->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

} // namespace
