// The replay box's text, exactly: which step and which repeat of how many,
// and the share done counted within a step of many repeats.

#include <SDL.h>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "app/overlay.h"
#include "app/replay_progress.h"
#include "session/recipe.h"
#include "tests/app/application_fixture.h"

using testsupport::ApplicationTest;

namespace {

// Few enough that one repeat moves the share shown by about 0.1.
const int32_t REPEATS = 1000;

using ReplayBox = ApplicationTest;

TEST_F(ReplayBox, NamesTheRepeatAndCountsTheShareWithinTheStep)
{
    std::string text = "quiltor recipe 1\nclear target=1 color1=1,2,3\n"
                       "twirl target=1 direction=1 repeat="
        + std::to_string(REPEATS) + "\n";
    Recipe recipe;
    std::string error;
    ASSERT_TRUE(parseRecipe(text.data(), text.size(), "long.recipe", &recipe, &error)) << error;
    std::string name = "/" + std::string(40, 'r') + "/" + std::string(40, 's') + "/long.recipe";

    // Closing the window once the box has shown for a while stops the
    // replay; the box's lines stay in the overlay, closed, to be read.
    std::thread closer([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1600));
        SDL_Event quit;
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    });
    ReplayEnd end = replayShowingProgress(recipe, name.c_str());
    closer.join();
    // About 4 seconds of twirls in the sanitized build the tests run in; an
    // optimized build may finish first and so has nothing to show.
    if (end == REPLAY_FINISHED)
        GTEST_SKIP() << "the replay ran to its end before the window closed";
    EXPECT_EQ(end, REPLAY_QUIT);
    EXPECT_FALSE(overlayShown());

    const OverlayLine* lines = overlay.lines;
    EXPECT_STREQ(lines[0].text, "Replaying");
    EXPECT_EQ(
        lines[1].text, "/" + std::string(32, 'r') + "..." + std::string(21, 's') + "/long.recipe");
    EXPECT_STREQ(lines[2].text, "Step 2 of 2: twirl");
    int repeat = 0, of = 0;
    ASSERT_EQ(sscanf(lines[3].text, "Repeat %d of %d", &repeat, &of), 2) << lines[3].text;
    EXPECT_EQ(of, REPEATS);
    ASSERT_GE(repeat, 1);
    // Clearing costs 1 and each twirl 60: the repeats before this one are done.
    char share[32];
    snprintf(share, sizeof share, "%.1f percent done, about ",
        100.0 * (1 + 60.0 * (repeat - 1)) / (1 + 60.0 * REPEATS));
    std::string workLine = lines[4].text;
    EXPECT_EQ(workLine.compare(0, strlen(share), share), 0) << workLine << " at repeat " << repeat;
    EXPECT_NE(workLine.find(" left"), std::string::npos) << workLine;
    EXPECT_STREQ(lines[5].text, "");
    EXPECT_STREQ(lines[6].text, "Escape or closing the window quits.");
    EXPECT_EQ(lines[1].color, OVERLAY_NAME_COLOR);
    EXPECT_EQ(lines[1].column, 2);
}

} // namespace
