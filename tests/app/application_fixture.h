// Runs the real application in-process on SDL's dummy video driver: a fresh
// session per test, events injected with SDL_PushEvent, passes run one by one.
#pragma once

#include <SDL.h>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/frame.h"
#include "app/loop.h"
#include "app/parameters.h"
#include "app/shell.h"
#include "app/state.h"
#include "tests/support/bmp_file.h"
#include "texture/random.h"

namespace testsupport {

// The panel's values as they are at process start, captured before any test
// changes them, so every test starts a session from the same state.
struct PanelValues {
    int32_t parameters[PARAMETER_COUNT];
    int32_t colors[6];
    PanelValues()
    {
        for (int i = 0; i < PARAMETER_COUNT; ++i)
            parameters[i] = *PARAMETERS[i].value;
        int32_t* components[6]
            = { &color1Red, &color1Green, &color1Blue, &color2Red, &color2Green, &color2Blue };
        for (int i = 0; i < 6; ++i)
            colors[i] = *components[i];
    }
    void restore() const
    {
        for (int i = 0; i < PARAMETER_COUNT; ++i)
            *PARAMETERS[i].value = parameters[i];
        int32_t* components[6]
            = { &color1Red, &color1Green, &color1Blue, &color2Red, &color2Green, &color2Blue };
        for (int i = 0; i < 6; ++i)
            *components[i] = colors[i];
    }
};

inline const PanelValues& initialPanelValues()
{
    static const PanelValues values;
    return values;
}
// Captured during static initialisation, before any test runs.
static const PanelValues& capturedAtStart = initialPanelValues();

// Runs a test body inside a scratch working directory.
struct InScratchDirectory {
    ScratchDirectory directory;
    std::string previous;
    InScratchDirectory()
    {
        char buffer[4096];
        previous = getcwd(buffer, sizeof buffer) ? buffer : "/";
        EXPECT_EQ(chdir(directory.path.c_str()), 0);
    }
    ~InScratchDirectory() { EXPECT_EQ(chdir(previous.c_str()), 0); }
};

// The four slots' pixels at one moment.
struct AllSlots {
    std::vector<Pixel> pixels[SLOT_COUNT];
    bool operator==(const AllSlots& other) const
    {
        for (int i = 0; i < SLOT_COUNT; ++i)
            if (pixels[i] != other.pixels[i])
                return false;
        return true;
    }
    bool operator!=(const AllSlots& other) const { return !(*this == other); }
};

class ApplicationTest : public ::testing::Test {
protected:
    LoopState loop;

    static AllSlots allSlots()
    {
        AllSlots all;
        for (int i = 0; i < SLOT_COUNT; ++i)
            all.pixels[i] = slotPixels(i);
        return all;
    }

    // What main does with a command line, in this process: the window
    // stays, the session and the panel start anew.
    int reopen(const char* name)
    {
        tearDownSession();
        widgets.clear();
        targetSlot = 0;
        sourceSlot = 0;
        initialPanelValues().restore();
        const char* argv[] = { "quiltor", name };
        OpenedRecipe opened;
        int status = readCommandLine(2, argv, opened);
        EXPECT_EQ(setUpSession(status == GO_ON ? &opened : nullptr), SESSION_READY);
        loop = LoopState();
        return status;
    }

    void SetUp() override
    {
        // Set explicitly: without a display and without this, SDL would fall
        // back to a text-mode driver and draw on the terminal.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_TRUE(openWindow()) << SDL_GetError();
        randomSeed = 1;
        targetSlot = 0;
        sourceSlot = 0;
        editedColor = 1;
        initialPanelValues().restore();
        ASSERT_EQ(setUpSession(), SESSION_READY);
        loop = LoopState();
    }

    void TearDown() override
    {
        tearDownSession();
        widgets.clear();
        SDL_Quit();
    }

    static void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 0); }

    static void pushButton(Uint8 type, int x, int y, Uint8 button)
    {
        SDL_Event event {};
        event.type = type;
        event.button.type = type;
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = (Uint16)x;
        event.button.y = (Uint16)y;
        push(event);
    }

    static void pushPress(int x, int y, Uint8 button = SDL_BUTTON_LEFT)
    {
        pushButton(SDL_MOUSEBUTTONDOWN, x, y, button);
    }

    static void pushRelease(int x, int y, Uint8 button = SDL_BUTTON_LEFT)
    {
        pushButton(SDL_MOUSEBUTTONUP, x, y, button);
    }

    static void pushMotion(int x, int y)
    {
        SDL_Event event {};
        event.type = SDL_MOUSEMOTION;
        event.motion.type = SDL_MOUSEMOTION;
        event.motion.x = (Uint16)x;
        event.motion.y = (Uint16)y;
        push(event);
    }

    static void pushKey(SDLKey key, bool down, SDLMod modifiers = KMOD_NONE)
    {
        SDL_Event event {};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.type = event.type;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        event.key.keysym.mod = modifiers;
        push(event);
    }

    // A key pressed and released with the modifiers held, then one pass.
    void typeKey(SDLKey key, SDLMod modifiers = KMOD_NONE)
    {
        pushKey(key, true, modifiers);
        pushKey(key, false, modifiers);
        runPass(loop);
    }

    // A left press and release in one batch, then one pass: a user's click.
    void click(int x, int y)
    {
        pushPress(x, y);
        pushRelease(x, y);
        runPass(loop);
    }

    void runPasses(int count)
    {
        for (int i = 0; i < count; ++i)
            runPass(loop);
    }

    // The window's pixel at (x, y) as last rendered. The dummy driver draws
    // the mouse cursor into the window surface; hiding it restores what lies beneath.
    static Pixel screenPixel(int x, int y)
    {
        SDL_ShowCursor(SDL_DISABLE);
        const Uint8* row = (const Uint8*)screen->pixels + (size_t)y * screen->pitch;
        return ((const Pixel*)row)[x] & 0xFFFFFF;
    }

    static std::vector<Pixel> slotPixels(int slot)
    {
        const Pixel* pixels = slots[slot]->getPixels();
        return std::vector<Pixel>(pixels, pixels + TEXTURE_PIXEL_COUNT);
    }
};

} // namespace testsupport
