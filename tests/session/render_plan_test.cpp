// Rendering from a plan gives the slot a full replay gives, while running
// only the steps that reach it.

#include "session/render_plan.h"

#include <gtest/gtest.h>
#include <string>

#include "session/replay.h"
#include "tests/session/slots.h"
#include "tests/support/random_texture.h"
#include "texture/random.h"

namespace {

using testsupport::Noise;
using testsupport::Slots;

Recipe parsed(const std::string& text)
{
    Recipe recipe;
    std::string error;
    EXPECT_TRUE(parseRecipe(text.data(), text.size(), "test.recipe", &recipe, &error)) << error;
    return recipe;
}

// Replays the recipe in a session with its full history, as the window
// program does, and renders each slot from its plan: each must match, and
// the random generator must end where the replay left it.
void expectPlansMatchTheReplay(const std::string& text)
{
    const Recipe recipe = parsed(text);
    Slots replayed;
    Session session;
    for (int32_t i = 0; i < SLOT_COUNT; ++i)
        session.slots[i] = replayed.pointers[i];
    resetToStartUp(replayed.pointers);
    replayRecipe(session, recipe);
    const uint32_t seedAfterReplay = randomSeed;
    for (int32_t slot = 0; slot < SLOT_COUNT; ++slot) {
        Slots rendered;
        randomSeed = 12345; // the plan sets it itself
        ASSERT_TRUE(runRenderPlan(planRender(recipe, slot), rendered.pointers, TEXTURE_SIZE));
        ASSERT_TRUE(rendered.pixels[slot] == replayed.pixels[slot])
            << "slot " << slot + 1 << " of\n"
            << text;
        EXPECT_EQ(randomSeed, seedAfterReplay) << "slot " << slot + 1;
    }
}

TEST(RenderPlan, GivesEachSlotAsTheReplayDoes)
{
    expectPlansMatchTheReplay("quiltor recipe 1\n"
                              "cells target=1 nr=12 size=40\n"
                              "pong size=90 target=2\n"
                              "mix target=1 source=2 balance=100\n"
                              "deform target=1 nrx=2 nry=3 sizex=12 sizey=5 repeat=2\n"
                              "invert target=2\n"
                              "undo\n"
                              "colorize target=1 color1=10,20,30 color2=250,200,100\n"
                              "undo\n"
                              "redo\n"
                              "seed 777\n"
                              "plasma target=2 variation=30 repeat=2\n"
                              "copy target=3 source=3\n"
                              "max target=1 source=2\n"
                              "cells target=4 nr=3 size=60 repeat=3\n");
}

// Undos that reach past the fifty steps kept, redos, and new steps that
// drop what could have been redone.
TEST(RenderPlan, FollowsTheHistoryPastItsDepth)
{
    std::string text = "quiltor recipe 1\n";
    for (int32_t i = 0; i < 55; ++i)
        text += "move target=" + std::to_string(i % 3 + 1) + " x=" + std::to_string(i % 7)
            + " y=1\n";
    for (int32_t i = 0; i < 52; ++i)
        text += "undo\n";
    text += "redo\nredo\nredo\ninvert target=2\nundo\nundo\nredo\nseed 5\n"
            "cells target=1 nr=3 size=9\nundo\nplasma target=1 variation=7\n";
    expectPlansMatchTheReplay(text);
}

// Recipes of every operation on random slots, with undos, redos and seeds
// anywhere.
TEST(RenderPlan, GivesEachSlotAsTheReplayDoesForRandomRecipes)
{
    Noise noise(2024);
    for (int32_t run = 0; run < 12; ++run) {
        std::string text = "quiltor recipe 1\n";
        int32_t lines = noise.between(5, 70);
        for (int32_t i = 0; i < lines; ++i) {
            int32_t kind = noise.between(0, 9);
            if (kind == 0) {
                text += "undo\n";
                continue;
            }
            if (kind == 1) {
                text += "redo\n";
                continue;
            }
            if (kind == 2 && noise.between(0, 3) == 0) {
                text += "seed " + std::to_string(noise.between(1, 1000000)) + "\n";
                continue;
            }
            const OperationInfo& info = OPERATIONS[noise.between(0, OPERATION_COUNT - 1)];
            text += std::string(info.name) + " target=" + std::to_string(noise.between(1, 4));
            if (info.readsSource)
                text += " source=" + std::to_string(noise.between(1, 4));
            for (int32_t k = 0; k < info.keyCount; ++k) {
                const StepKey& key = info.keys[k];
                text += std::string(" ") + key.name + "=";
                for (int32_t v = 0; v < key.valueCount; ++v)
                    text += (v ? "," : "")
                        + std::to_string(noise.between(key.range.min, key.range.max));
            }
            if (noise.between(0, 5) == 0)
                text += " repeat=" + std::to_string(noise.between(2, 3));
            text += "\n";
        }
        expectPlansMatchTheReplay(text);
    }
}

// What the plan keeps of a recipe that works on slots the render never
// reads: only the steps that reach slot 1, the others' random numbers
// skipped, and a repeated generator run once.
TEST(RenderPlan, KeepsOnlyTheStepsThatReachTheSlot)
{
    const Recipe recipe = parsed("quiltor recipe 1\n"
                                 "twirl target=3 direction=40 repeat=5\n"
                                 "cells target=4 nr=7 size=30\n"
                                 "cells target=1 nr=5 size=30 repeat=4\n"
                                 "add target=1 source=2\n"
                                 "plasma target=2 variation=9\n"
                                 "invert target=2\n");
    const RenderPlan plan = planRender(recipe, 0);
    std::string kept;
    for (const PlannedAction& action : plan.actions) {
        if (action.kind == PLANNED_SEED)
            kept += "seed " + std::to_string(action.seed) + "; ";
        else if (action.kind == PLANNED_SKIP)
            kept += "skip " + std::to_string(action.draws) + "; ";
        else
            kept += std::string(OPERATIONS[action.step.operation].name) + " "
                + std::to_string(action.step.target + 1) + "x" + std::to_string(action.step.repeat)
                + "; ";
    }
    // Start-up: the cells of slot 1 are overwritten, the light spot and sine
    // never read; the plasma of slot 2 is read by the add.
    EXPECT_EQ(
        kept, "seed 1; skip 40; plasma 2x1; skip 14; skip 30; cells 1x1; add 1x1; skip 65535; ");
    EXPECT_EQ(plan.stepCount, 3);
}

} // namespace
