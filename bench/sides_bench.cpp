// Each operation's cost per pixel on one thread at the window's side and at
// 2048 x 2048, run side by side: a larger texture should cost little more
// per pixel than the window's. The warps work in a scratch texture kept for
// them, as the renderer keeps one. Items per second are pixels per second.

#include <benchmark/benchmark.h>
#include <vector>

#include "session/step.h"
#include "tests/session/slots.h"
#include "texture/parallel.h"
#include "texture/texture.h"

namespace {

using testsupport::makeStep;

// A press of each operation button with the panel's start-up values, on
// slot 1 with slot 2 as the source.
const Step PANEL_STEPS[OPERATION_COUNT] = {
    makeStep(OPERATION_CELLS, 0, 1, { 20, 50 }),
    makeStep(OPERATION_PLASMA, 0, 1, { 20 }),
    makeStep(OPERATION_PONG, 0, 1, { 128 }),
    makeStep(OPERATION_SINE, 0, 1, { 5, 5 }),
    makeStep(OPERATION_ADD, 0, 1, {}),
    makeStep(OPERATION_SUB, 0, 1, {}),
    makeStep(OPERATION_MIX, 0, 1, { 128 }),
    makeStep(OPERATION_COPY, 0, 1, {}),
    makeStep(OPERATION_MAX, 0, 1, {}),
    makeStep(OPERATION_COLORIZE, 0, 1, { 255, 0, 0, 0, 255, 255 }),
    makeStep(OPERATION_INVERT, 0, 1, {}),
    makeStep(OPERATION_CLEAR, 0, 1, { 255, 0, 0 }),
    makeStep(OPERATION_MOVE, 0, 1, { 1, 0 }),
    makeStep(OPERATION_DEFORM, 0, 1, { 3, 4, 10, 10 }),
    makeStep(OPERATION_TWIRL, 0, 1, { 64 }),
};

std::vector<Pixel> noiseTexture(int32_t side, uint32_t seed)
{
    std::vector<Pixel> pixels(pixelCount(side));
    for (Pixel& pixel : pixels) {
        seed = seed * 1664525u + 1013904223u;
        pixel = seed >> 8;
    }
    return pixels;
}

// Slot sets enough to fill this many bytes, so that the from-memory runs
// outgrow the processor's last-level cache at either side.
constexpr size_t POOL_BYTES = 96u << 20;

// Runs each operation over `sets` independent sets of four slots and a
// scratch texture, a set per iteration in turn. One set leaves the window's
// side in cache; enough sets make every side read its pixels from memory.
void runPerPixel(benchmark::State& state, size_t sets)
{
    const Step step = PANEL_STEPS[state.range(0)];
    const int32_t side = (int32_t)state.range(1);
    setOperationThreads(1);
    std::vector<std::vector<Pixel>> textures;
    std::vector<Pixel*> pointers;
    for (size_t set = 0; set < sets; ++set) {
        for (int32_t i = 0; i <= SLOT_COUNT; ++i) {
            textures.push_back(noiseTexture(side, 1 + (uint32_t)(set * 8 + i)));
            pointers.push_back(textures.back().data());
        }
    }
    size_t set = 0;
    for (auto _ : state) {
        Pixel** slots = &pointers[set * (SLOT_COUNT + 1)];
        applyStep(slots, side, step, slots[SLOT_COUNT]);
        benchmark::ClobberMemory();
        set = set + 1 == sets ? 0 : set + 1;
    }
    state.SetItemsProcessed((int64_t)state.iterations() * (int64_t)pixelCount(side));
    state.SetLabel(OPERATIONS[step.operation].name);
}

// The operation again and again on the same slots: the window's case.
void BM_PerPixel(benchmark::State& state)
{
    runPerPixel(state, 1);
}

// The same, with every iteration's pixels coming from memory.
void BM_PerPixelFromMemory(benchmark::State& state)
{
    const size_t setBytes = (SLOT_COUNT + 1) * pixelCount((int32_t)state.range(1)) * sizeof(Pixel);
    runPerPixel(state, (POOL_BYTES + setBytes - 1) / setBytes);
}

// Every operation at the window's side and at 2048.
void everyOperationAtBothSides(benchmark::internal::Benchmark* family)
{
    family->ArgNames({ "operation", "side" })
        ->ArgsProduct({ benchmark::CreateDenseRange(0, OPERATION_COUNT - 1, 1), { 256, 2048 } })
        ->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_PerPixel)->Apply(everyOperationAtBothSides);
BENCHMARK(BM_PerPixelFromMemory)->Apply(everyOperationAtBothSides);

} // namespace
