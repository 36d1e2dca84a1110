// The wait between passes: it must never sleep on input that is already
// queued, nor take an event away from the next pass.

#include <chrono>
#include <unistd.h>

#include "app/event_wait.h"
#include "tests/app/application_fixture.h"

using testsupport::ApplicationTest;

namespace {

class EventWait : public ApplicationTest {
protected:
    int pipeEnds[2] = { -1, -1 };

    void SetUp() override
    {
        ApplicationTest::SetUp();
        ASSERT_EQ(pipe(pipeEnds), 0);
    }
    void TearDown() override
    {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        ApplicationTest::TearDown();
    }

    // How long waitForEvents takes, in milliseconds. Its idle timeout is
    // 500 ms; returning at once takes well under a millisecond.
    static double millisecondsWaiting(int connection)
    {
        auto start = std::chrono::steady_clock::now();
        waitForEvents(connection);
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    }
};

TEST_F(EventWait, TheDummyDriverHasNoXConnection)
{
    EXPECT_EQ(findXConnection(), -1);
}

TEST_F(EventWait, AQueuedEventEndsTheWaitAndStaysForThePass)
{
    for (int connection : { -1, pipeEnds[0] }) {
        pushKey(SDLK_ESCAPE, true);
        EXPECT_LT(millisecondsWaiting(connection), 250) << "connection " << connection;
        runPass(loop);
        EXPECT_TRUE(loop.quitRequested) << "connection " << connection;
        loop.quitRequested = false;
    }
}

TEST_F(EventWait, InputOnTheConnectionEndsTheWait)
{
    ASSERT_EQ(write(pipeEnds[1], "x", 1), 1);
    EXPECT_LT(millisecondsWaiting(pipeEnds[0]), 250);
}

TEST_F(EventWait, WithNothingToReadTheWaitEndsByItsTimeout)
{
    double waited = millisecondsWaiting(pipeEnds[0]);
    EXPECT_GE(waited, 400);
    EXPECT_LT(waited, 5000);
}

} // namespace
