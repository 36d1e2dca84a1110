#include "tests/app/application_fixture.h"

using testsupport::ApplicationTest;

namespace {

// A window-sized button counting the dispatched presses by kind. Nothing of
// the panel lies at (300, 300), inside slot 0's frame.
int leftClicks = 0;
int otherClicks = 0;
void countLeftClick()
{
    ++leftClicks;
}
void countOtherClick()
{
    ++otherClicks;
}

class MainLoop : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        leftClicks = 0;
        otherClicks = 0;
        widgets.addButton(new Button(0, 0, 799, 599, 0, "", 0, countLeftClick, countOtherClick));
    }
};

TEST_F(MainLoop, EscapeKeyDownQuitsAfterTheCurrentPass)
{
    pushKey(SDLK_ESCAPE, false);
    pushKey(SDLK_a, true);
    pushKey(SDLK_SPACE, true);
    runPass(loop);
    EXPECT_FALSE(loop.quitRequested);

    // The pass in which Escape arrives still dispatches its press and renders.
    pushPress(300, 300);
    pushKey(SDLK_ESCAPE, true);
    runPass(loop);
    EXPECT_TRUE(loop.quitRequested);
    EXPECT_EQ(leftClicks, 1);
}

TEST_F(MainLoop, ClosingTheWindowQuits)
{
    SDL_Event event {};
    event.type = SDL_QUIT;
    push(event);
    runPass(loop);
    EXPECT_TRUE(loop.quitRequested);
}

TEST_F(MainLoop, ALeftPressIsDispatchedOnceHoweverLongItIsHeld)
{
    pushPress(300, 300);
    runPasses(10);
    EXPECT_EQ(leftClicks, 1);
    EXPECT_EQ(otherClicks, 0);
    pushRelease(300, 300);
    runPasses(3);
    EXPECT_EQ(leftClicks, 1);
}

TEST_F(MainLoop, AHeldRightPressRepeatsEveryPassAtThePressPosition)
{
    // (600, 318) lies on the picker's red band: each dispatch sets red to 65.
    pushPress(600, 318, SDL_BUTTON_RIGHT);
    runPass(loop);
    EXPECT_EQ(color1Red, 65);
    for (int pass = 2; pass <= 7; ++pass) {
        color1Red = 0;
        pushMotion(10 + pass, 500); // the pointer moves away; the press position stays
        runPass(loop);
        EXPECT_EQ(color1Red, 65) << "pass " << pass;
    }
    EXPECT_EQ(otherClicks, 7);
    EXPECT_EQ(leftClicks, 0);
}

TEST_F(MainLoop, AHeldNonLeftPressIsDispatchedOncePerPassUntilAnyRelease)
{
    pushPress(300, 300, SDL_BUTTON_RIGHT);
    runPasses(5);
    EXPECT_EQ(otherClicks, 5);
    EXPECT_EQ(leftClicks, 0);

    pushRelease(300, 300, SDL_BUTTON_MIDDLE); // any button's release ends the hold
    runPasses(4);
    EXPECT_EQ(otherClicks, 5);

    // A press and release in one batch are still dispatched once.
    pushPress(300, 300, SDL_BUTTON_MIDDLE);
    pushRelease(300, 300, SDL_BUTTON_MIDDLE);
    runPasses(3);
    EXPECT_EQ(otherClicks, 6);
}

TEST_F(MainLoop, OnlyTheLastPressOfABatchIsDispatched)
{
    pushPress(300, 300, SDL_BUTTON_RIGHT);
    pushPress(300, 300, SDL_BUTTON_LEFT);
    runPasses(3);
    EXPECT_EQ(otherClicks, 0);
    EXPECT_EQ(leftClicks, 1);

    // A left press during a hold replaces it and, being left, ends it.
    pushPress(300, 300, SDL_BUTTON_RIGHT);
    runPasses(2);
    pushPress(300, 300, SDL_BUTTON_LEFT);
    runPasses(3);
    EXPECT_EQ(otherClicks, 2);
    EXPECT_EQ(leftClicks, 2);
}

// Which passes draw: a marker written into the window surface survives a
// pass that leaves the window as it is and is painted over by one that renders.
class Redraw : public MainLoop {
protected:
    static Pixel& marker() { return ((Pixel*)((Uint8*)screen->pixels + 580 * screen->pitch))[300]; }

    // Runs one pass on the events pushed so far; true if it rendered.
    bool passRenders()
    {
        marker() = 0x123456;
        runPass(loop);
        return (marker() & 0xFFFFFF) != 0x123456;
    }

    static void pushOfType(Uint8 type)
    {
        SDL_Event event {};
        event.type = type;
        push(event);
    }
};

TEST_F(Redraw, OnlyPassesThatMayChangeThePictureRender)
{
    EXPECT_TRUE(passRenders()) << "the first pass";
    EXPECT_FALSE(passRenders()) << "a pass without events";

    pushMotion(400, 300);
    pushKey(SDLK_a, true);
    pushKey(SDLK_a, false);
    pushKey(SDLK_ESCAPE, false);
    pushRelease(300, 300);
    EXPECT_FALSE(passRenders()) << "motion, keys and a release change nothing";

    pushOfType(SDL_VIDEOEXPOSE);
    EXPECT_TRUE(passRenders()) << "an exposed window";
    pushOfType(SDL_ACTIVEEVENT);
    EXPECT_TRUE(passRenders()) << "an activated window";
    EXPECT_FALSE(passRenders());

    pushPress(300, 300);
    EXPECT_TRUE(passRenders()) << "a dispatched left press";
    EXPECT_FALSE(passRenders()) << "the left press, still held";

    pushPress(300, 300, SDL_BUTTON_RIGHT);
    for (int pass = 1; pass <= 3; ++pass)
        EXPECT_TRUE(passRenders()) << "held right press, pass " << pass;
    pushRelease(300, 300, SDL_BUTTON_RIGHT);
    EXPECT_FALSE(passRenders()) << "after the release";
    EXPECT_EQ(otherClicks, 3);
}

// Without the counting button, which would cover the whole window.
class FirstFrame : public ApplicationTest { };

TEST_F(FirstFrame, ShowsTheBackgroundAndTheFourSlotFrames)
{
    runPass(loop);
    const Pixel light = 0xC0C0C0, mid = 0x808080, dark = 0x404040;
    const int origins[4][2] = { { 0, 0 }, { 263, 0 }, { 0, 263 }, { 263, 263 } };
    for (int slot = 0; slot < 4; ++slot) {
        int x = origins[slot][0] + 1, y = origins[slot][1] + 1;
        EXPECT_EQ(screenPixel(x, y), light);
        EXPECT_EQ(screenPixel(x + 100, y), light);
        EXPECT_EQ(screenPixel(x + 261, y), dark);
        EXPECT_EQ(screenPixel(x, y + 261), dark);
        EXPECT_EQ(screenPixel(x + 1, y + 100), mid);
        EXPECT_EQ(screenPixel(x + 2, y + 2), dark);
        EXPECT_EQ(screenPixel(x + 259, y + 259), light);
        const Pixel* texture = slots[slot]->getPixels();
        for (int ty = 0; ty < 256; ++ty)
            for (int tx = 0; tx < 256; ++tx)
                ASSERT_EQ(screenPixel(x + 3 + tx, y + 3 + ty), texture[ty * 256 + tx] & 0xFFFFFF)
                    << "slot " << slot << " at " << tx << "," << ty;
    }
    // Background between and around the frames, and below them.
    EXPECT_EQ(screenPixel(0, 0), 0x404040u);
    EXPECT_EQ(screenPixel(263, 100), 0x404040u);
    EXPECT_EQ(screenPixel(100, 263), 0x404040u);
    EXPECT_EQ(screenPixel(526, 10), 0x404040u);
    EXPECT_EQ(screenPixel(300, 580), 0x404040u);
    EXPECT_EQ(screenPixel(799, 599), 0x404040u);
}

} // namespace
