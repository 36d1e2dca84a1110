// Undo and redo through the session: which pixels come back, which steps
// stay, and what gets recorded.

#include "session/session.h"

#include <gtest/gtest.h>
#include <vector>

#include "session/replay.h"
#include "tests/session/slots.h"
#include "texture/generators.h"
#include "texture/random.h"
#include "texture/warps.h"

namespace {

using testsupport::makeStep;
using testsupport::Slots;

class SessionHistory : public ::testing::Test {
protected:
    Slots slots;
    Session session;

    void SetUp() override
    {
        resetToStartUp(slots.pointers);
        for (int32_t i = 0; i < SLOT_COUNT; ++i)
            session.slots[i] = slots.pointers[i];
    }

    std::vector<Pixel> slot(int32_t i) const { return slots.pixels[i]; }
};

TEST_F(SessionHistory, OneUndoTakesBackAWholeHold)
{
    const std::vector<Pixel> before = slot(0);
    const Step twirl = makeStep(OPERATION_TWIRL, 0, 0, { 64 });
    performStep(session, twirl, false);
    for (int32_t pass = 0; pass < 4; ++pass)
        performStep(session, twirl, true);
    ASSERT_EQ(session.lines.size(), 1u);
    EXPECT_EQ(session.lines[0].step.repeat, 5);
    EXPECT_EQ(undoableStepCount(session.history), 1);

    std::vector<Pixel> expected = before;
    for (int32_t i = 0; i < 5; ++i)
        twirlTexture(expected.data(), TEXTURE_SIZE, 64);
    EXPECT_TRUE(slot(0) == expected);
    EXPECT_TRUE(undoLastStep(session));
    EXPECT_TRUE(slot(0) == before);
    EXPECT_TRUE(redoNextStep(session));
    EXPECT_TRUE(slot(0) == expected);
}

TEST_F(SessionHistory, HoldsEndAtAnythingElseTheSessionDoes)
{
    const Step invert = makeStep(OPERATION_INVERT, 1, 0, {});
    performStep(session, invert, false);
    performStep(session, invert, true);
    endHold(session);
    performStep(session, invert, true); // a new press, though the same step
    performStep(session, makeStep(OPERATION_INVERT, 2, 0, {}), true); // another slot
    undoLastStep(session);
    performStep(session, invert, true);
    setRandomSeed(session, 5);
    performStep(session, invert, true);
    EXPECT_EQ(formatRecipe(session.lines, -1),
        "quiltor recipe 1\n"
        "invert target=2 repeat=2\n"
        "invert target=2\n"
        "invert target=3\n"
        "undo\n"
        "invert target=2\n"
        "seed 5\n"
        "invert target=2\n");
    EXPECT_EQ(undoableStepCount(session.history), 4) << "the undone step was dropped";
}

TEST_F(SessionHistory, UndoRestoresTheSlotTheStepChanged)
{
    const std::vector<Pixel> before[2] = { slot(0), slot(2) };
    performStep(session, makeStep(OPERATION_INVERT, 2, 0, {}), false);
    const std::vector<Pixel> inverted = slot(2);
    performStep(session, makeStep(OPERATION_COPY, 0, 2, {}), false);
    EXPECT_TRUE(undoLastStep(session));
    EXPECT_TRUE(slot(0) == before[0]);
    EXPECT_TRUE(slot(2) == inverted);
    EXPECT_TRUE(undoLastStep(session)); // slot 0 is the one the last step wrote
    EXPECT_TRUE(slot(2) == before[1]);
    EXPECT_TRUE(slot(0) == before[0]);
    EXPECT_TRUE(redoNextStep(session));
    EXPECT_TRUE(redoNextStep(session));
    EXPECT_TRUE(slot(2) == inverted);
    EXPECT_TRUE(slot(0) == inverted);
}

TEST_F(SessionHistory, ANewStepDropsWhatCouldHaveBeenRedone)
{
    performStep(session, makeStep(OPERATION_INVERT, 0, 0, {}), false);
    performStep(session, makeStep(OPERATION_MOVE, 0, 0, { 3, 4 }), false);
    undoLastStep(session);
    undoLastStep(session);
    performStep(session, makeStep(OPERATION_PONG, 1, 0, { 30 }), false);
    EXPECT_FALSE(redoNextStep(session));
    EXPECT_EQ(undoableStepCount(session.history), 1);
    EXPECT_EQ(redoableStepCount(session.history), 0);
    EXPECT_EQ(session.lines.size(), 5u) << "the redo that did nothing is not recorded";
}

// Undo puts pixels back; it does not rewind the random generator.
TEST_F(SessionHistory, CellsAfterAnUndoDrawNewPoints)
{
    const Step cells = makeStep(OPERATION_CELLS, 0, 0, { 20, 50 });
    performStep(session, cells, false);
    const std::vector<Pixel> first = slot(0);
    const uint32_t seedAfterFirst = randomSeed;
    undoLastStep(session);
    EXPECT_EQ(randomSeed, seedAfterFirst);
    performStep(session, cells, false);

    std::vector<Pixel> expected(TEXTURE_PIXEL_COUNT);
    randomSeed = seedAfterFirst;
    generateCells(expected.data(), TEXTURE_SIZE, 20, 50);
    EXPECT_TRUE(slot(0) == expected);
    EXPECT_FALSE(slot(0) == first);
}

TEST_F(SessionHistory, KeepsTheFiftyMostRecentSteps)
{
    // Each step moves slot 0 one pixel further, so every state differs.
    std::vector<std::vector<Pixel>> states = { slot(0) };
    const Step move = makeStep(OPERATION_MOVE, 0, 0, { 1, 0 });
    for (int32_t i = 0; i < HISTORY_DEPTH + 1; ++i) {
        performStep(session, move, false);
        states.push_back(slot(0));
    }
    for (int32_t i = 0; i < HISTORY_DEPTH; ++i)
        ASSERT_TRUE(undoLastStep(session)) << i;
    EXPECT_FALSE(undoLastStep(session));
    EXPECT_TRUE(slot(0) == states[1]) << "the first step stays";
    for (int32_t i = 0; i < HISTORY_DEPTH; ++i)
        ASSERT_TRUE(redoNextStep(session)) << i;
    EXPECT_FALSE(redoNextStep(session));
    EXPECT_TRUE(slot(0) == states.back());
}

TEST_F(SessionHistory, UndoAndRedoAtTheEndsDoNothing)
{
    const std::vector<Pixel> before[2] = { slot(0), slot(1) };
    EXPECT_FALSE(undoLastStep(session));
    EXPECT_FALSE(redoNextStep(session));
    EXPECT_TRUE(session.lines.empty());
    performStep(session, makeStep(OPERATION_INVERT, 1, 0, {}), false);
    EXPECT_FALSE(redoNextStep(session));
    EXPECT_TRUE(undoLastStep(session));
    EXPECT_FALSE(undoLastStep(session));
    EXPECT_TRUE(slot(0) == before[0]);
    EXPECT_TRUE(slot(1) == before[1]);
    EXPECT_EQ(formatRecipe(session.lines, -1), "quiltor recipe 1\ninvert target=2\nundo\n");
}

} // namespace
