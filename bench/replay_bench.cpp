// Replay of a recorded 100-step recipe from the start-up state, against the
// same steps applied directly, and the reading of its text.

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <vector>

#include "session/render_plan.h"
#include "session/replay.h"
#include "tests/session/slots.h"

namespace {

using testsupport::makeStep;
using testsupport::Slots;

// A typical press of each operation button, in the panel's order.
const Step TYPICAL_STEPS[OPERATION_COUNT] = {
    makeStep(OPERATION_CELLS, 0, 0, { 20, 50 }),
    makeStep(OPERATION_PLASMA, 0, 0, { 20 }),
    makeStep(OPERATION_PONG, 0, 0, { 128 }),
    makeStep(OPERATION_SINE, 0, 0, { 5, 5 }),
    makeStep(OPERATION_ADD, 0, 0, {}),
    makeStep(OPERATION_SUB, 0, 0, {}),
    makeStep(OPERATION_MIX, 0, 0, { 128 }),
    makeStep(OPERATION_COPY, 0, 0, {}),
    makeStep(OPERATION_MAX, 0, 0, {}),
    makeStep(OPERATION_COLORIZE, 0, 0, { 255, 0, 0, 0, 255, 255 }),
    makeStep(OPERATION_INVERT, 0, 0, {}),
    makeStep(OPERATION_CLEAR, 0, 0, { 255, 0, 0 }),
    // Moves are usually held for a few passes.
    makeStep(OPERATION_MOVE, 0, 0, { 3, 1 }, 4),
    makeStep(OPERATION_DEFORM, 0, 0, { 3, 4, 10, 10 }),
    makeStep(OPERATION_TWIRL, 0, 0, { 64 }),
};

// A session of 100 steps going through all fifteen buttons in turn on every
// slot, the values nudged a little each round, with a step undone and redone
// now and then; written as the window program records it.
std::string recordedRecipe()
{
    std::vector<RecipeLine> lines;
    for (int32_t i = 0; i < 100; ++i) {
        Step step = TYPICAL_STEPS[i % OPERATION_COUNT];
        step.target = i % SLOT_COUNT;
        step.source = (i + 1) % SLOT_COUNT;
        const OperationInfo& info = OPERATIONS[step.operation];
        for (int32_t k = 0, v = 0; k < info.keyCount; ++k)
            for (int32_t c = 0; c < info.keys[k].valueCount; ++c, ++v)
                step.values[v]
                    = std::min(step.values[v] + i / OPERATION_COUNT, info.keys[k].range.max);
        lines.push_back(RecipeLine { LINE_STEP, step, 0 });
        if (i % 20 == 19) {
            lines.push_back(RecipeLine { LINE_UNDO, Step(), 0 });
            lines.push_back(RecipeLine { LINE_REDO, Step(), 0 });
        }
    }
    return formatRecipe(lines, 0);
}

Recipe parsedRecipe()
{
    const std::string text = recordedRecipe();
    Recipe recipe;
    std::string error;
    if (!parseRecipe(text.data(), text.size(), "bench.recipe", &recipe, &error))
        fprintf(stderr, "%s\n", error.c_str());
    return recipe;
}

// Every line through a fresh session, lines recorded, keeping the history
// the window program keeps. A fresh history's buffers are fresh memory, and
// their first touch is most of what the history costs.
void BM_ReplayRecordedRecipe(benchmark::State& state)
{
    const Recipe recipe = parsedRecipe();
    Slots slots;
    Session session;
    for (int32_t i = 0; i < SLOT_COUNT; ++i)
        session.slots[i] = slots.pointers[i];
    for (auto _ : state) {
        state.PauseTiming();
        releaseSession(session);
        resetToStartUp(slots.pointers);
        state.ResumeTiming();
        replayRecipe(session, recipe);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReplayRecordedRecipe)->Unit(benchmark::kMillisecond);

// What the renderer does for slot 1 of the same recipe: its plan, start-up
// included, and the steps that reach the slot.
void BM_RenderPlanOfRecordedRecipe(benchmark::State& state)
{
    const Recipe recipe = parsedRecipe();
    Slots slots;
    for (auto _ : state) {
        bool done = runRenderPlan(planRender(recipe, 0), slots.pointers, TEXTURE_SIZE);
        benchmark::DoNotOptimize(done);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenderPlanOfRecordedRecipe)->Unit(benchmark::kMillisecond);

// The sum of the recipe's operations: its steps applied with no history and
// no recording (its undo and redo lines are left out).
void BM_ApplyRecordedStepsAlone(benchmark::State& state)
{
    const Recipe recipe = parsedRecipe();
    Slots slots;
    for (auto _ : state) {
        state.PauseTiming();
        resetToStartUp(slots.pointers);
        state.ResumeTiming();
        for (const RecipeLine& line : recipe.lines)
            if (line.kind == LINE_STEP)
                applyStep(slots.pointers, TEXTURE_SIZE, line.step);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ApplyRecordedStepsAlone)->Unit(benchmark::kMillisecond);

void BM_ParseRecordedRecipe(benchmark::State& state)
{
    const std::string text = recordedRecipe();
    Recipe recipe;
    std::string error;
    for (auto _ : state) {
        bool parsed = parseRecipe(text.data(), text.size(), "bench.recipe", &recipe, &error);
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_ParseRecordedRecipe)->Unit(benchmark::kMicrosecond);

} // namespace
