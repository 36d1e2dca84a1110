// The main loop allocates nothing per pass: it polls, dispatches and redraws
// the whole window in memory that already exists, and a held operation goes
// on in the memory its first pass took.

#include "tests/app/application_fixture.h"

// From the sanitizer runtime; GCC ships the function but not its header.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*mallocHook)(const volatile void*, size_t), void (*freeHook)(const volatile void*));

using testsupport::ApplicationTest;

namespace {

// Counted through the sanitizer's allocator hooks, which see every malloc and
// operator new in the process, SDL's included.
int allocationCount = 0;
void countAllocation(const volatile void*, size_t)
{
    ++allocationCount;
}
void ignoreFree(const volatile void*)
{
}

class FrameAllocations : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        __sanitizer_install_malloc_and_free_hooks(countAllocation, ignoreFree);
    }
    void TearDown() override
    {
        __sanitizer_install_malloc_and_free_hooks(nullptr, nullptr);
        ApplicationTest::TearDown();
    }
};

TEST_F(FrameAllocations, PassesThatDrawAndStepAllocateNothing)
{
    runPasses(3); // let SDL settle its own first-use buffers
    allocationCount = 0;
    runPasses(100);
    EXPECT_EQ(allocationCount, 0) << "idle passes";

    // A held right press on a stepper: dispatched and redrawn every pass.
    pushPress(675, 126, SDL_BUTTON_RIGHT);
    runPasses(50);
    pushRelease(675, 126, SDL_BUTTON_RIGHT);
    runPass(loop);
    EXPECT_EQ(spotSize, 178);
    EXPECT_EQ(allocationCount, 0) << "passes with a held stepper";

    // A held right press on "Invert": its first pass keeps the slot for undo
    // and records the step; the passes after it only extend that step.
    pushPress(620, 360, SDL_BUTTON_RIGHT);
    runPass(loop);
    allocationCount = 0;
    runPasses(50);
    pushRelease(620, 360, SDL_BUTTON_RIGHT);
    runPass(loop);
    EXPECT_EQ(allocationCount, 0) << "passes with a held operation";
    ASSERT_EQ(session.lines.size(), 1u);
    EXPECT_EQ(session.lines[0].step.repeat, 51);

    // The help page, once open, is drawn from the text it was opened with.
    typeKey(SDLK_F1);
    allocationCount = 0;
    for (int i = 0; i < 20; ++i) {
        loop.redrawNeeded = true;
        runPass(loop);
    }
    EXPECT_EQ(allocationCount, 0) << "passes that draw the help page";
    typeKey(SDLK_F1);
}

TEST_F(FrameAllocations, PassesThatDrawTheLitViewAllocateNothing)
{
    typeKey(SDLK_l);
    ASSERT_EQ(slotArea, SlotArea::LIT);
    runPasses(3);
    // A held right press on "Invert" relights the changed target every pass;
    // the target being the source, its normals and occlusion are made again.
    pushPress(620, 360, SDL_BUTTON_RIGHT);
    runPass(loop);
    allocationCount = 0;
    runPasses(50);
    pushRelease(620, 360, SDL_BUTTON_RIGHT);
    runPass(loop);
    EXPECT_EQ(allocationCount, 0) << "lit passes with a held operation";
}

} // namespace
