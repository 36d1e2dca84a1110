// Replaying a recipe from the start-up state gives what the direct engine
// calls give, and what the live session that recorded it had.

#include "session/replay.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "tests/session/slots.h"
#include "tests/support/digest.h"
#include "texture/color_ops.h"
#include "texture/combiners.h"
#include "texture/generators.h"
#include "texture/random.h"
#include "texture/warps.h"

namespace {

using testsupport::digest;
using testsupport::makeStep;
using testsupport::Slots;

void attach(Session& session, Slots& slots)
{
    for (int32_t i = 0; i < SLOT_COUNT; ++i)
        session.slots[i] = slots.pointers[i];
}

Recipe parsed(const std::string& text)
{
    Recipe recipe;
    std::string error;
    EXPECT_TRUE(parseRecipe(text.data(), text.size(), "test.recipe", &recipe, &error)) << error;
    return recipe;
}

const char BRICK[] = "quiltor recipe 1\n"
                     "# two slots worked over, with a hold, an undo and a redo\n"
                     "cells target=1 nr=12 size=40\n"
                     "pong size=90 target=2\n"
                     "mix target=1 source=2 balance=100\n"
                     "\n"
                     "deform target=1 nrx=2 nry=3 sizex=12 sizey=5 repeat=2\n"
                     "invert target=2\n"
                     "undo\n"
                     "colorize target=1 color1=10,20,30 color2=250,200,100\n"
                     "undo\n"
                     "redo\n"
                     "seed 777\n"
                     "plasma target=2 variation=30\n"
                     "max target=1 source=2\n"
                     "save target=1\n";

TEST(ReplayRecipe, GivesWhatTheDirectEngineCallsGive)
{
    // The same work as direct engine calls, from the start-up textures on.
    std::vector<Pixel> expected[SLOT_COUNT];
    for (std::vector<Pixel>& slot : expected)
        slot.assign(TEXTURE_PIXEL_COUNT, EMPTY_PIXEL);
    Pixel* e[SLOT_COUNT]
        = { expected[0].data(), expected[1].data(), expected[2].data(), expected[3].data() };
    randomSeed = 1;
    generateCells(e[0], TEXTURE_SIZE, 20, 50);
    generatePlasma(e[1], TEXTURE_SIZE, 20);
    generatePong(e[2], TEXTURE_SIZE, 128);
    generateSine(e[3], TEXTURE_SIZE, 5, 7);
    generateCells(e[0], TEXTURE_SIZE, 12, 40);
    generatePong(e[1], TEXTURE_SIZE, 90);
    mixTexture(e[0], e[1], TEXTURE_SIZE, 100);
    deformTexture(e[0], TEXTURE_SIZE, 2, 12, 3, 5);
    deformTexture(e[0], TEXTURE_SIZE, 2, 12, 3, 5);
    colorizeTexture(e[0], TEXTURE_SIZE, 10, 20, 30, 250, 200, 100);
    randomSeed = 777;
    std::fill(e[1], e[1] + TEXTURE_PIXEL_COUNT, EMPTY_PIXEL);
    generatePlasma(e[1], TEXTURE_SIZE, 30);
    maxTexture(e[0], e[1], TEXTURE_SIZE);
    const uint32_t seedAfter = randomSeed;

    const Recipe recipe = parsed(BRICK);
    Slots slots;
    Session session;
    attach(session, slots);
    randomSeed = 99; // replay does not depend on what came before
    resetToStartUp(slots.pointers);
    replayRecipe(session, recipe);

    for (int32_t i = 0; i < SLOT_COUNT; ++i)
        EXPECT_EQ(digest(slots.pixels[i]), digest(expected[i])) << "slot " << i + 1;
    EXPECT_EQ(randomSeed, seedAfter);
    EXPECT_EQ(recipe.saveSlot, 0);
    // Every undo and redo in it acted, so the session recorded the recipe itself.
    EXPECT_EQ(formatRecipe(session.lines, recipe.saveSlot), formatRecipe(recipe.lines, 0));
    EXPECT_EQ(undoableStepCount(session.history), 7);
}

// A press held for three passes, recorded live, and its line replayed: the
// same slots, history and recorded lines.
TEST(ReplayRecipe, AgreesWithTheLiveSessionThatRecordedIt)
{
    Slots live, replayed;
    Session liveSession, replayedSession;
    attach(liveSession, live);
    attach(replayedSession, replayed);

    resetToStartUp(live.pointers);
    const Step twirl = makeStep(OPERATION_TWIRL, 3, 0, { -40 });
    performStep(liveSession, twirl, false);
    performStep(liveSession, twirl, true);
    performStep(liveSession, twirl, true);
    endHold(liveSession);
    performStep(liveSession, makeStep(OPERATION_CELLS, 0, 0, { 5, 100 }), false);
    performStep(liveSession, makeStep(OPERATION_SUB, 0, 3, {}), false);
    undoLastStep(liveSession);
    const std::string text = formatRecipe(liveSession.lines, 3);
    ASSERT_EQ(text,
        "quiltor recipe 1\n"
        "twirl target=4 direction=-40 repeat=3\n"
        "cells target=1 nr=5 size=100\n"
        "sub target=1 source=4\n"
        "undo\n"
        "save target=4\n");

    resetToStartUp(replayed.pointers);
    replayRecipe(replayedSession, parsed(text));
    for (int32_t i = 0; i < SLOT_COUNT; ++i)
        EXPECT_TRUE(replayed.pixels[i] == live.pixels[i]) << "slot " << i + 1;
    EXPECT_EQ(formatRecipe(replayedSession.lines, 3), text);
    EXPECT_EQ(undoableStepCount(replayedSession.history), 2);
    EXPECT_EQ(redoableStepCount(replayedSession.history), 1);
    // The two histories hold the same pixels: redo both and compare again.
    redoNextStep(liveSession);
    redoNextStep(replayedSession);
    EXPECT_TRUE(replayed.pixels[0] == live.pixels[0]);
}

// What a replay told its progress, and where it asked to stop.
struct ProgressLog {
    std::vector<std::pair<int32_t, int32_t>> calls;
    size_t stopAt = (size_t)-1;
};

bool logProgress(void* context, int32_t stepIndex, int32_t application)
{
    ProgressLog& log = *(ProgressLog*)context;
    if (log.calls.size() == log.stopAt)
        return false;
    log.calls.push_back({ stepIndex, application });
    return true;
}

// Told of every application, a replay gives what it gives untold; stopped,
// it ends between two applications of a step.
TEST(ReplayRecipe, TellsItsProgressAndStopsBetweenApplications)
{
    const Recipe recipe = parsed(BRICK);
    Slots plain, told;
    Session plainSession, toldSession;
    attach(plainSession, plain);
    attach(toldSession, told);
    resetToStartUp(plain.pointers);
    EXPECT_TRUE(replayRecipe(plainSession, recipe));
    const uint32_t seedAfter = randomSeed;
    resetToStartUp(told.pointers);
    ProgressLog log;
    EXPECT_TRUE(replayRecipe(toldSession, recipe, logProgress, &log));
    EXPECT_EQ(randomSeed, seedAfter);
    for (int32_t i = 0; i < SLOT_COUNT; ++i)
        EXPECT_TRUE(told.pixels[i] == plain.pixels[i]) << "slot " << i + 1;
    EXPECT_EQ(formatRecipe(toldSession.lines, 0), formatRecipe(plainSession.lines, 0));
    EXPECT_EQ(undoableStepCount(toldSession.history), undoableStepCount(plainSession.history));
    const std::vector<std::pair<int32_t, int32_t>> expected = { { 0, 0 }, { 1, 0 }, { 2, 0 },
        { 3, 0 }, { 3, 1 }, { 4, 0 }, { 5, 0 }, { 6, 0 }, { 7, 0 } };
    EXPECT_EQ(log.calls, expected);

    // Stopped before the deform's second application: the first is done.
    Slots stopped;
    Session stoppedSession;
    attach(stoppedSession, stopped);
    resetToStartUp(stopped.pointers);
    ProgressLog stopping;
    stopping.stopAt = 4;
    EXPECT_FALSE(replayRecipe(stoppedSession, parsed(BRICK), logProgress, &stopping));
    ASSERT_EQ(stoppedSession.lines.size(), 4u);
    EXPECT_EQ(stoppedSession.lines.back().step.operation, OPERATION_DEFORM);
    EXPECT_EQ(stoppedSession.lines.back().step.repeat, 1);
    EXPECT_FALSE(stoppedSession.holdOpen);
}

} // namespace
