// Each operation's cost per pixel on one thread at the window's side and at
// 2048 x 2048, at both depths, run side by side: a larger texture should
// cost little more per pixel than the window's, and a 16-bit one (DeepPixel)
// not much more than an 8-bit one. The warps work in a scratch texture kept
// for them, as the renderer keeps one. Items per second are pixels per second.

#include <algorithm>
#include <benchmark/benchmark.h>
#include <unistd.h>
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

// Random colours, nothing above them.
template <class P> std::vector<P> noiseTexture(int32_t side, uint32_t seed)
{
    std::vector<P> pixels(pixelCount(side));
    for (P& pixel : pixels) {
        seed = seed * 1664525u + 1013904223u;
        pixel = seed >> 8;
        if constexpr (sizeof(P) > 4) {
            seed = seed * 1664525u + 1013904223u;
            pixel = (pixel << 24) | (seed >> 8);
        }
    }
    return pixels;
}

// Slot sets enough to fill this many bytes, so that the from-memory runs
// outgrow the processor's last-level cache at either side: 96 MB, or twice
// the last-level cache the system reports where that is more (some servers
// have hundreds of megabytes, which 96 MB of slots would stay in).
size_t poolBytes()
{
    size_t bytes = (size_t)96 << 20;
#ifdef _SC_LEVEL3_CACHE_SIZE
    long cache = sysconf(_SC_LEVEL3_CACHE_SIZE);
    if (cache > 0)
        bytes = std::max(bytes, 2 * (size_t)cache);
#endif
    return bytes;
}

// Which textures of a set the step touches: its target, its source if it
// reads one, and the scratch texture (last) if it is a warp that needs one.
void touchedTextures(const Step& step, bool touched[SLOT_COUNT + 1])
{
    std::fill(touched, touched + SLOT_COUNT + 1, false);
    touched[step.target] = true;
    touched[step.source] = touched[step.source] || readsSource(step);
    touched[SLOT_COUNT] = step.operation == OPERATION_DEFORM || step.operation == OPERATION_TWIRL;
}

// Runs each operation over independent sets of four slots and a scratch
// texture, a set per iteration in turn: one set, which leaves the window's
// side in cache, or with `fromMemory` enough sets to fill the pool, so that
// every side reads its pixels from memory. Only the textures the step
// touches differ from set to set; the others are the first set's, so the
// whole pool is read between two visits of a set.
template <class P> void runPerPixel(benchmark::State& state, bool fromMemory)
{
    const Step step = PANEL_STEPS[state.range(0)];
    const int32_t side = (int32_t)state.range(1);
    setOperationThreads(1);
    bool touched[SLOT_COUNT + 1];
    touchedTextures(step, touched);
    const size_t textureBytes = pixelCount(side) * sizeof(P);
    const size_t setBytes
        = (size_t)std::count(touched, touched + SLOT_COUNT + 1, true) * textureBytes;
    static const size_t pool = poolBytes();
    const size_t sets = fromMemory ? (pool + setBytes - 1) / setBytes : 1;
    std::vector<std::vector<P>> textures;
    std::vector<P*> pointers;
    for (size_t set = 0; set < sets; ++set) {
        for (int32_t i = 0; i <= SLOT_COUNT; ++i) {
            if (set > 0 && !touched[i]) {
                pointers.push_back(pointers[i]);
                continue;
            }
            textures.push_back(noiseTexture<P>(side, 1 + (uint32_t)(set * 8 + i)));
            pointers.push_back(textures.back().data());
        }
    }
    size_t set = 0;
    for (auto _ : state) {
        P** slots = &pointers[set * (SLOT_COUNT + 1)];
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
    if (state.range(2) == 16)
        runPerPixel<DeepPixel>(state, false);
    else
        runPerPixel<Pixel>(state, false);
}

// The same, with every iteration's pixels coming from memory.
void BM_PerPixelFromMemory(benchmark::State& state)
{
    if (state.range(2) == 16)
        runPerPixel<DeepPixel>(state, true);
    else
        runPerPixel<Pixel>(state, true);
}

// Every operation at the window's side and at 2048, 8 and 16 bits per channel.
void everyOperationAtBothSides(benchmark::internal::Benchmark* family)
{
    family->ArgNames({ "operation", "side", "depth" })
        ->ArgsProduct(
            { benchmark::CreateDenseRange(0, OPERATION_COUNT - 1, 1), { 256, 2048 }, { 8, 16 } })
        ->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_PerPixel)->Apply(everyOperationAtBothSides);
BENCHMARK(BM_PerPixelFromMemory)->Apply(everyOperationAtBothSides);

} // namespace
