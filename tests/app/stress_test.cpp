// A random user: a long fixed-seed stream of presses, releases, holds and
// keys (undo, redo and the tiled view among them) driven through the real
// main-loop passes. After every pass the state must still be one the panel
// can produce.

#include <random>
#include <unistd.h>

#include "app/commands.h"
#include "tests/app/application_fixture.h"
#include "tests/support/bmp_file.h"

using testsupport::ApplicationTest;

namespace {

const int EVENT_COUNT = 100000;

class RandomUser : public ApplicationTest {
protected:
    std::mt19937 random { 20261207 };
    int eventsPushed = 0;

    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    // A point anywhere in the window or a little beyond its right and bottom
    // edges; often on the panel, where the controls are.
    void randomPoint(int& x, int& y)
    {
        switch (uniform(0, 3)) {
        case 0: // anywhere, and just outside
            x = uniform(0, 819);
            y = uniform(0, 619);
            break;
        case 1: // the steppers and operation buttons
            x = uniform(525, 799);
            y = uniform(0, 515);
            break;
        case 2: // the swatches and the picker
            x = uniform(525, 799);
            y = uniform(290, 352);
            break;
        default: // "Save" and the slot selection
            x = uniform(0, 60);
            y = uniform(545, 575);
            if (uniform(0, 1)) {
                x = uniform(525, 645);
                y = uniform(10, 60);
            }
            break;
        }
    }

    Uint8 randomButton()
    {
        static const Uint8 buttons[] = { SDL_BUTTON_LEFT, SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT,
            SDL_BUTTON_MIDDLE, SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN };
        return buttons[uniform(0, 5)];
    }

    void pushRandomEvent()
    {
        int x, y;
        randomPoint(x, y);
        switch (uniform(0, 9)) {
        case 0:
        case 1:
        case 2:
        case 3:
            pushPress(x, y, randomButton());
            break;
        case 4:
        case 5:
            pushRelease(x, y, randomButton());
            break;
        case 6:
            pushMotion(x, y);
            break;
        case 7: { // a key other than Escape, down or up, with or without Ctrl; or Escape up
            static const SDLKey keys[] = { SDLK_a, SDLK_SPACE, SDLK_RETURN, SDLK_PLUS, SDLK_z,
                SDLK_y, SDLK_t, SDLK_ESCAPE };
            SDLKey key = keys[uniform(0, 7)];
            pushKey(
                key, key != SDLK_ESCAPE && uniform(0, 1), uniform(0, 1) ? KMOD_LCTRL : KMOD_NONE);
            break;
        }
        default: // a right-button hold over a control, held for a few passes
            pushPress(x, y, SDL_BUTTON_RIGHT);
            break;
        }
        ++eventsPushed;
    }

    void expectConsistentState()
    {
        for (int i = 0; i < PARAMETER_COUNT; ++i) {
            const Parameter& parameter = PARAMETERS[i];
            ASSERT_GE(*parameter.value, parameter.min) << parameter.label;
            ASSERT_LE(*parameter.value, parameter.max) << parameter.label;
        }
        for (int32_t component :
            { color1Red, color1Green, color1Blue, color2Red, color2Green, color2Blue }) {
            ASSERT_GE(component, 0);
            ASSERT_LE(component, 255);
        }
        ASSERT_TRUE(editedColor == 1 || editedColor == 2);
        ASSERT_GE(targetSlot, 0);
        ASSERT_LE(targetSlot, 3);
        ASSERT_GE(sourceSlot, 0);
        ASSERT_LE(sourceSlot, 3);
        for (int i = 0; i < 4; ++i) {
            ASSERT_EQ(targetButtons[i]->color == 0x80FF80, i == targetSlot);
            ASSERT_EQ(sourceButtons[i]->color == 0x80FF80, i == sourceSlot);
        }
        ASSERT_FALSE(loop.quitRequested);
    }
};

TEST_F(RandomUser, NeverLeavesAConsistentState)
{
    testsupport::ScratchDirectory directory; // where "Save" writes
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(directory.path.c_str()), 0);

    int passes = 0;
    while (eventsPushed < EVENT_COUNT) {
        // Mostly one event per pass, sometimes a burst of several in one batch.
        int batch = uniform(0, 9) == 0 ? uniform(2, 6) : 1;
        for (int i = 0; i < batch; ++i)
            pushRandomEvent();
        runPass(loop);
        ++passes;
        expectConsistentState();
        if (HasFatalFailure())
            break;
    }
    EXPECT_EQ(chdir(previous), 0);
    RecordProperty("events", eventsPushed);
    RecordProperty("passes", passes);
    printf("%d events in %d passes\n", eventsPushed, passes);
}

} // namespace
