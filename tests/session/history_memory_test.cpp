// The history's memory grows only with the steps it keeps, one texture each,
// and nothing is allocated for an idle session or while a press is held.

#include <cstddef>
#include <gtest/gtest.h>

#include "session/replay.h"
#include "session/session.h"
#include "tests/session/slots.h"

// From the sanitizer runtime; GCC ships the function but not its header.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*mallocHook)(const volatile void*, size_t), void (*freeHook)(const volatile void*));

namespace {

using testsupport::makeStep;
using testsupport::Slots;

const size_t TEXTURE_BYTES = TEXTURE_PIXEL_COUNT * sizeof(Pixel);

// Every malloc and operator new in the process, while counting is on.
struct Allocations {
    size_t count;
    size_t bytes;
};
Allocations allocations;
// Volatile: the compiler may assume malloc reads no program variable.
volatile bool counting = false;

void countAllocation(const volatile void*, size_t size)
{
    if (!counting)
        return;
    ++allocations.count;
    allocations.bytes += size;
}

void ignoreFree(const volatile void*)
{
}

class HistoryMemory : public ::testing::Test {
protected:
    Slots slots;
    Session session;

    void SetUp() override
    {
#if !defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "needs the sanitizer's allocator hooks";
#endif
        resetToStartUp(slots.pointers);
        for (int32_t i = 0; i < SLOT_COUNT; ++i)
            session.slots[i] = slots.pointers[i];
    }
    void TearDown() override
    {
        stopCounting();
    }

    // Hooks cannot be removed once installed, so they are installed once.
    static void startCounting()
    {
        static const int installed
            = __sanitizer_install_malloc_and_free_hooks(countAllocation, ignoreFree);
        ASSERT_NE(installed, 0);
        allocations = Allocations();
        counting = true;
    }
    static void stopCounting()
    {
        counting = false;
    }
};

TEST_F(HistoryMemory, AnIdleSessionAllocatesNothing)
{
    startCounting();
    Session idle;
    for (int32_t i = 0; i < SLOT_COUNT; ++i)
        idle.slots[i] = slots.pointers[i];
    undoLastStep(idle);
    redoNextStep(idle);
    endHold(idle);
    stopCounting();
    EXPECT_EQ(allocations.count, 0u);
    EXPECT_EQ(historyBytes(idle.history), 0u);
}

// Invert allocates nothing itself, so what is counted is the session's.
TEST_F(HistoryMemory, FiftyStepsHoldFiftyTexturesAndNoMore)
{
    startCounting();
    for (int32_t i = 0; i < HISTORY_DEPTH + 20; ++i)
        performStep(session, makeStep(OPERATION_INVERT, i % SLOT_COUNT, 0, {}), false);
    stopCounting();
    EXPECT_EQ(historyBytes(session.history), HISTORY_DEPTH * TEXTURE_BYTES);
    EXPECT_GE(allocations.bytes, HISTORY_DEPTH * TEXTURE_BYTES);
    EXPECT_LE(allocations.bytes, HISTORY_DEPTH * TEXTURE_BYTES + 16 * 1024)
        << "older steps' buffers are reused; only the recorded lines add a little";
    EXPECT_EQ(session.lines.size(), (size_t)HISTORY_DEPTH + 20);

    releaseSession(session);
    EXPECT_EQ(historyBytes(session.history), 0u);
    EXPECT_TRUE(session.lines.empty());
}

TEST_F(HistoryMemory, AHeldStepAllocatesNothing)
{
    const Step invert = makeStep(OPERATION_INVERT, 2, 0, {});
    performStep(session, invert, false);
    startCounting();
    for (int32_t pass = 0; pass < 30; ++pass)
        performStep(session, invert, true);
    stopCounting();
    EXPECT_EQ(allocations.count, 0u);
    EXPECT_EQ(session.lines.back().step.repeat, 31);
}

TEST_F(HistoryMemory, DroppedRedoStepsGiveBackTheirBuffers)
{
    for (int32_t i = 0; i < 5; ++i)
        performStep(session, makeStep(OPERATION_INVERT, 0, 0, {}), false);
    for (int32_t i = 0; i < 5; ++i)
        undoLastStep(session);
    EXPECT_EQ(historyBytes(session.history), 5 * TEXTURE_BYTES);
    startCounting();
    performStep(session, makeStep(OPERATION_INVERT, 1, 0, {}), false);
    stopCounting();
    EXPECT_EQ(historyBytes(session.history), TEXTURE_BYTES);
    EXPECT_LT(allocations.bytes, TEXTURE_BYTES) << "a dropped step's buffer is reused";
}

} // namespace
