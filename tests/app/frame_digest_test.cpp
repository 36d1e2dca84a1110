// The window as the program draws it, pinned by a digest of every pixel: the
// start-up frame, and a frame after presses that change the panel. A caption,
// a button moved by a pixel or a bevel one pixel too long changes these.

#include "tests/app/application_fixture.h"
#include "tests/support/digest.h"

using testsupport::ApplicationTest;

namespace {

class FrameDigest : public ApplicationTest {
protected:
    // The digest of the window surface as last rendered, without the cursor.
    static uint64_t windowDigest()
    {
        SDL_ShowCursor(SDL_DISABLE);
        return testsupport::digestShown(
            Canvas { (Pixel*)screen->pixels, WINDOW_WIDTH, WINDOW_HEIGHT, screen->pitch / 4 });
    }
};

TEST_F(FrameDigest, StartUpFrameMatchesItsPin)
{
    runPass(loop);
    EXPECT_EQ(windowDigest(), 0x08D2BD65B67EE604ull);
}

TEST_F(FrameDigest, FrameAfterPanelChangesMatchesItsPin)
{
    click(540, 45); // Target "3"
    click(675, 126); // "+" of the light spot's size, three times
    click(675, 126);
    click(675, 126);
    click(740, 305); // swatch 2
    click(600, 318); // the red bar, now for colour 2
    EXPECT_EQ(targetSlot, 2);
    EXPECT_EQ(spotSize, 131);
    EXPECT_EQ(color2Red, 65);
    EXPECT_EQ(windowDigest(), 0x8AC47C2D8DBCDEDDull);
}

} // namespace
