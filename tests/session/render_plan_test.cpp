// Rendering from a plan gives the slot a full replay gives, while running
// only the steps that reach it.

#include "session/render_plan.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "session/replay.h"
#include "tests/session/slots.h"
#include "tests/support/digest.h"
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

// Every operation at 512 x 512, pinned: any change to what a recipe gives
// at a larger side shows here. The operations are each held to their rules
// by the engine's tests; this holds the whole chain.
TEST(RenderPlan, PinnedRecipeAt512)
{
    const Recipe recipe = parsed("quiltor recipe 1\n"
                                 "seed 99\n"
                                 "cells target=1 nr=25 size=60\n"
                                 "plasma target=2 variation=12\n"
                                 "pong target=3 size=150\n"
                                 "sine target=4 nrx=3 nry=5\n"
                                 "add target=1 source=4\n"
                                 "mix target=2 source=1 balance=90\n"
                                 "twirl target=2 direction=-50\n"
                                 "deform target=3 nrx=3 nry=4 sizex=10 sizey=10\n"
                                 "sub target=3 source=4\n"
                                 "max target=2 source=3\n"
                                 "move target=2 x=17 y=-5 repeat=2\n"
                                 "copy target=4 source=2\n"
                                 "invert target=4\n"
                                 "clear target=1 color1=9,9,9\n"
                                 "colorize target=4 color1=20,40,10 color2=250,230,180\n");
    const int32_t side = 512;
    std::vector<Pixel> slots[SLOT_COUNT];
    Pixel* pointers[SLOT_COUNT];
    for (int32_t i = 0; i < SLOT_COUNT; ++i) {
        slots[i].assign(pixelCount(side), EMPTY_PIXEL);
        pointers[i] = slots[i].data();
    }
    ASSERT_TRUE(runRenderPlan(planRender(recipe, 3), pointers, side));
    EXPECT_EQ(planRender(recipe, 3).stepCount, 14) << "all but the start-up's and the clear";
    // The same on every system: the twirl's and deform's trigonometry is
    // correctly rounded.
    EXPECT_EQ(testsupport::digest(slots[3]), 0x5706047BCF3E4D42ull);
}

// A variation is the recipe with its seeds changed: the one the start-up
// left and each seed line's S become (mix64((N << 32) | S) mod (2^32 - 1)) + 1.
// Written out as seed lines, the plain plan must give the same slots; a
// material's two slots come from one plan.
TEST(RenderPlan, AVariationReseedsAfterTheStartUpAndAtEverySeedLine)
{
    const std::string steps = "cells target=1 nr=12 size=40\n"
                              "seed 777\n"
                              "plasma target=2 variation=30\n"
                              "mix target=1 source=2 balance=100\n";
    const Recipe recipe = parsed("quiltor recipe 1\n" + steps);
    Slots startUp;
    resetToStartUp(startUp.pointers);
    const uint32_t leftByStartUp = randomSeed;
    for (uint32_t variation : { 1u, 4294967295u }) {
        auto seedFor = [&](uint32_t seed) {
            return (uint32_t)(mix64(((uint64_t)variation << 32) | seed) % 4294967295u) + 1;
        };
        std::string written
            = "quiltor recipe 1\nseed " + std::to_string(seedFor(leftByStartUp)) + "\n" + steps;
        written.replace(written.find("seed 777"), 8, "seed " + std::to_string(seedFor(777)));
        Slots expected, varied;
        ASSERT_TRUE(runRenderPlan(
            planRenderOfSlots(parsed(written), 0xF), expected.pointers, TEXTURE_SIZE));
        ASSERT_TRUE(runRenderPlan(planRenderOfSlots(recipe, (1u << 0) | (1u << 1), variation),
            varied.pointers, TEXTURE_SIZE));
        for (int32_t slot : { 0, 1 })
            EXPECT_TRUE(varied.pixels[slot] == expected.pixels[slot])
                << "variation " << variation << ", slot " << slot + 1;
        Slots plain;
        ASSERT_TRUE(runRenderPlan(planRender(recipe, 0), plain.pointers, TEXTURE_SIZE));
        EXPECT_FALSE(plain.pixels[0] == varied.pixels[0]) << "another variation";
    }
}

// What --max-steps counts: the applications the plan runs, the start-up's
// among them, and none of the steps that never reach the slot.
TEST(RenderPlan, CountsTheApplicationsItRuns)
{
    const Recipe recipe = parsed("quiltor recipe 1\n"
                                 "twirl target=3 direction=40 repeat=5\n"
                                 "cells target=1 nr=5 size=30 repeat=4\n"
                                 "add target=1 source=2 repeat=3\n"
                                 "invert target=1 repeat=1000000\n"
                                 "undo\n");
    // Plasma, the last cells, and the add three times.
    EXPECT_EQ(plannedApplications(planRender(recipe, 0)), 5u);
    // The light spot, then the twirl five times.
    EXPECT_EQ(plannedApplications(planRender(recipe, 2)), 6u);
    const Recipe held = parsed("quiltor recipe 1\ntwirl target=1 direction=64 repeat=1000000\n");
    EXPECT_EQ(plannedApplications(planRender(held, 0)), 1000001u);
}

} // namespace
