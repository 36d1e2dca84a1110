// Rendering one slot of a recipe without a session: the recipe turned into
// just the work that reaches that slot. A replay keeps every step's pixels
// for undo; a render needs none of them. The history's bookkeeping tells
// which steps the recipe's undos and redos leave standing, and working back
// from the slot tells which of those its pixels depend on. Every other step
// leaves only the random numbers it drew, which are skipped, so the steps
// that run see the same numbers as in the replay.
#pragma once

#include <cstdint>
#include <vector>

#include "session/recipe.h"
#include "session/step.h"

enum PlannedKind {
    PLANNED_STEP, // apply `step`
    PLANNED_SKIP, // advance the random generator by `draws` numbers
    PLANNED_SEED, // set the random generator to `seed`
};

struct PlannedAction {
    PlannedKind kind;
    Step step;
    uint64_t draws;
    uint32_t seed;
};

struct RenderPlan {
    std::vector<PlannedAction> actions; // in order, from before start-up
    int32_t stepCount = 0; // actions that apply a step
};

// The plan that leaves slot `slot` (0..3) as replaying the recipe from
// start-up leaves it, starting-up included; the other slots may differ.
// Steps that overwrite their target whole and are repeated run once, after
// skipping what the earlier applications drew. A `variation` other than 0
// renders that variation of the recipe: right after the start-up textures,
// and at each seed line, the random generator is set to
// variationSeed(variation, S) instead, S the seed the start-up left or the
// line gives, so every recipe varies, its seed lines or none.
RenderPlan planRender(const Recipe& recipe, int32_t slot, uint32_t variation = 0);

// planRender for every slot whose bit (1 << slot) is set in `slots`: one
// replay that leaves all of them right, as a material's colours and heights.
RenderPlan planRenderOfSlots(const Recipe& recipe, uint32_t slots, uint32_t variation = 0);

// The seed variation `variation` (1..4294967295) sets where the recipe's
// own replay has seed S: (mix64((variation << 32) | S) mod 4294967295) + 1,
// so never 0, which would make every random number 0.
uint32_t variationSeed(uint32_t variation, uint32_t seed);

// How many operations the plan applies: every planned step's repeats together.
uint64_t plannedApplications(const RenderPlan& plan);

// Told before each application of a step of a plan: the step's number
// among the plan's steps from 0, and the application's among its repeats.
typedef void (*PlanProgress)(void* context, int32_t stepIndex, int32_t application);

// Runs the plan on slots of side `side` at the depth of their pixels, the
// warps working in `scratch` (a texture of that side and depth, or null for
// one of their own each), calling `progress` (if not null) before each
// application of a step. False if a warp found no memory for a scratch
// texture; the slots are then incomplete.
template <class P>
bool runRenderPlan(const RenderPlan& plan, P* const slots[SLOT_COUNT], int32_t side,
    P* scratch = nullptr, PlanProgress progress = nullptr, void* context = nullptr);
