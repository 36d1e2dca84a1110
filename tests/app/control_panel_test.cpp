#include <functional>
#include <string>
#include <unistd.h>

#include "app/commands.h"
#include "tests/app/application_fixture.h"
#include "tests/support/bmp_file.h"
#include "texture/color_ops.h"
#include "texture/combiners.h"
#include "texture/generators.h"
#include "texture/warps.h"

using testsupport::ApplicationTest;
using testsupport::InScratchDirectory;

namespace {

const Pixel GREEN = 0x80FF80;
const Pixel BLUE = 0x8080FF;

class ControlPanel : public ApplicationTest {
protected:
    // Presses and releases the left button at (x, y) through the main loop.
    void press(int x, int y) { click(x, y); }
};

TEST_F(ControlPanel, HoldsFiftyFourButtonsAndThirtyFiveLabels)
{
    EXPECT_EQ(widgets.buttonCount, 54);
    EXPECT_EQ(widgets.labelCount, 35);
    int fixed = 0;
    for (int i = 0; i < widgets.labelCount; ++i)
        fixed += widgets.labels[i]->isFixed;
    EXPECT_EQ(fixed, 21);
    for (int i = 0; i < widgets.buttonCount; ++i) {
        const Button* button = widgets.buttons[i];
        EXPECT_EQ(button->captionColor, 0x000000u);
        EXPECT_TRUE(button->onClick == button->onLeftClick) << button->caption;
        EXPECT_LE(button->x + button->width, 799);
        EXPECT_LE(button->y + button->height, 599);
    }
    ASSERT_NE(colorPicker, nullptr);
    EXPECT_EQ(colorPicker->x, 530);
    EXPECT_EQ(colorPicker->y, 315);
    EXPECT_STREQ(widgets.labels[widgets.labelCount - 1]->text, "texture000.bmp");
}

// Every stepper: the parameter, its bounds, and where its "+" and "-" stand.
struct StepperCase {
    int32_t* value;
    int32_t initial, min, max;
    int plusX, plusY, minusX;
};

TEST_F(ControlPanel, EveryStepperStartsAtItsValueAndStopsAtBothBounds)
{
    const StepperCase steppers[] = {
        { &cellCount, 20, 1, 99, 620, 71, 657 },
        { &cellSize, 50, 5, 200, 730, 71, 772 },
        { &plasmaVariation, 20, 1, 100, 670, 96, 715 },
        { &spotSize, 128, 5, 256, 670, 121, 715 },
        { &sineWavesX, 5, 0, 99, 635, 146, 675 },
        { &sineWavesY, 5, 0, 99, 740, 146, 780 },
        { &mixBalance, 128, 0, 256, 710, 211, 755 },
        { &moveX, 0, -128, 128, 610, 416, 659 },
        { &moveY, 0, -128, 128, 720, 416, 774 },
        { &deformWavesX, 3, 0, 100, 620, 441, 659 },
        { &deformWavesY, 4, 0, 100, 725, 441, 764 },
        { &deformSizeX, 10, 0, 256, 615, 466, 659 },
        { &deformSizeY, 10, 0, 256, 730, 466, 775 },
        { &twirlDirection, 64, -128, 128, 660, 491, 714 },
    };
    for (const StepperCase& stepper : steppers) {
        EXPECT_EQ(*stepper.value, stepper.initial);
        for (int i = stepper.initial; i < stepper.max + 3; ++i)
            widgets.click(stepper.plusX + 9, stepper.plusY + 9, true);
        EXPECT_EQ(*stepper.value, stepper.max);
        for (int i = stepper.max; i > stepper.min - 3; --i)
            widgets.click(stepper.minusX + 9, stepper.plusY + 9, true);
        EXPECT_EQ(*stepper.value, stepper.min);
        widgets.click(stepper.plusX + 9, stepper.plusY + 9, false); // any button steps
        EXPECT_EQ(*stepper.value, stepper.min + 1);
    }
    // Each stepper changed only its own parameter: every one ended at min + 1.
    for (const StepperCase& stepper : steppers)
        EXPECT_EQ(*stepper.value, stepper.min + 1);
}

void expectGreenOnly(Button* buttons[4], int selected)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(buttons[i]->color, i == selected ? GREEN : BLUE) << "button " << i + 1;
}

TEST_F(ControlPanel, SlotButtonsSelectAndMarkOneSlotPerGroup)
{
    expectGreenOnly(targetButtons, 0);
    expectGreenOnly(sourceButtons, 0);

    press(540, 45); // Target "3"
    EXPECT_EQ(targetSlot, 2);
    expectGreenOnly(targetButtons, 2);
    press(625, 20); // Source "2"
    EXPECT_EQ(sourceSlot, 1);
    expectGreenOnly(sourceButtons, 1);
    EXPECT_EQ(targetSlot, 2);

    // Column 550 is shared by "1" and "2": both run, in insertion order.
    press(550, 25);
    EXPECT_EQ(targetSlot, 1);
    expectGreenOnly(targetButtons, 1);
    // (550, 35) lies in all four hit areas.
    press(550, 35);
    EXPECT_EQ(targetSlot, 3);
    expectGreenOnly(targetButtons, 3);
    press(620, 35);
    EXPECT_EQ(sourceSlot, 3);
    expectGreenOnly(sourceButtons, 3);
}

// One operation button: where it is and what the engine should make of the
// target (given the source) with the parameters the test sets.
struct OperationCase {
    const char* caption;
    int x, y;
    std::function<void(Pixel* target, const Pixel* source)> expected;
};

TEST_F(ControlPanel, EveryOperationButtonChangesOnlyTheTargetAsItsOperationDoes)
{
    // Distinct values everywhere, so a swapped argument shows.
    cellCount = 7;
    cellSize = 30;
    plasmaVariation = 13;
    spotSize = 100;
    sineWavesX = 3;
    sineWavesY = 9;
    mixBalance = 77;
    moveX = 5;
    moveY = -3;
    deformWavesX = 2;
    deformSizeX = 7;
    deformWavesY = 5;
    deformSizeY = 3;
    twirlDirection = -50;
    color1Red = 10, color1Green = 20, color1Blue = 30;
    color2Red = 200, color2Green = 150, color2Blue = 100;
    press(540, 45); // target slot 2
    press(625, 20); // source slot 1

    const OperationCase operations[] = {
        { "Cells", 535, 75, [](Pixel* t, const Pixel*) { generateCells(t, TEXTURE_SIZE, 7, 30); } },
        { "Plasma", 535, 100,
            [](Pixel* t, const Pixel*) {
                for (int i = 0; i < TEXTURE_PIXEL_COUNT; ++i)
                    t[i] = EMPTY_PIXEL;
                generatePlasma(t, TEXTURE_SIZE, 13);
            } },
        { "Pong", 535, 125, [](Pixel* t, const Pixel*) { generatePong(t, TEXTURE_SIZE, 100); } },
        { "Sine", 535, 150, [](Pixel* t, const Pixel*) { generateSine(t, TEXTURE_SIZE, 3, 9); } },
        { "Add", 535, 215, [](Pixel* t, const Pixel* s) { addTexture(t, s, TEXTURE_SIZE); } },
        { "Sub", 570, 215, [](Pixel* t, const Pixel* s) { subtractTexture(t, s, TEXTURE_SIZE); } },
        { "Mix", 620, 215, [](Pixel* t, const Pixel* s) { mixTexture(t, s, TEXTURE_SIZE, 77); } },
        { "Max", 580, 240, [](Pixel* t, const Pixel* s) { maxTexture(t, s, TEXTURE_SIZE); } },
        { "Copy", 535, 240, [](Pixel* t, const Pixel* s) { copyTexture(t, s, TEXTURE_SIZE); } },
        { "Colorize", 535, 355,
            [](Pixel* t, const Pixel*) {
                colorizeTexture(t, TEXTURE_SIZE, 10, 20, 30, 200, 150, 100);
            } },
        { "Invert", 610, 355, [](Pixel* t, const Pixel*) { invertTexture(t, TEXTURE_SIZE); } },
        { "Sine", 535, 445,
            [](Pixel* t, const Pixel*) { deformTexture(t, TEXTURE_SIZE, 2, 7, 5, 3); } },
        { "Twirl", 535, 495, [](Pixel* t, const Pixel*) { twirlTexture(t, TEXTURE_SIZE, -50); } },
        { "Move", 535, 420, [](Pixel* t, const Pixel*) { moveTexture(t, TEXTURE_SIZE, 5, -3); } },
        { "Clear", 675, 355,
            [](Pixel* t, const Pixel*) { clearTexture(t, TEXTURE_SIZE, 10, 20, 30); } },
    };
    for (const OperationCase& operation : operations) {
        std::vector<Pixel> before[4];
        for (int slot = 0; slot < 4; ++slot)
            before[slot] = slotPixels(slot);
        std::vector<Pixel> expected = before[2];
        uint32_t seed = randomSeed;
        operation.expected(expected.data(), before[1].data());
        randomSeed = seed;

        press(operation.x, operation.y);
        EXPECT_EQ(slotPixels(2), expected) << operation.caption;
        EXPECT_NE(slotPixels(2), before[2]) << operation.caption << " changed nothing";
        for (int slot : { 0, 1, 3 })
            EXPECT_EQ(slotPixels(slot), before[slot])
                << operation.caption << " touched slot " << slot;
    }
}

TEST_F(ControlPanel, PlasmaDoesNotDependOnWhatTheSlotHeld)
{
    uint32_t seed = randomSeed;
    press(530 + 5, 100); // "Plasma" on slot 0, which holds cells
    std::vector<Pixel> first = slotPixels(0);
    randomSeed = seed;
    clearTexture(slots[0]->getPixels(), TEXTURE_SIZE, 1, 2, 3);
    press(535, 100);
    EXPECT_EQ(slotPixels(0), first);
}

TEST_F(ControlPanel, SwatchesChooseTheEditedColourAndClearAlwaysUsesColourOne)
{
    runPass(loop);
    EXPECT_EQ(screenPixel(650, 305), 0xFF0000u);
    EXPECT_EQ(screenPixel(740, 305), 0x00FFFFu);
    EXPECT_EQ(screenPixel(622, 297), 0x00FF00u); // highlight around swatch 1
    EXPECT_EQ(screenPixel(776, 313), 0x000000u);

    press(740, 305); // swatch 2
    EXPECT_EQ(editedColor, 2);
    EXPECT_EQ(screenPixel(713, 297), 0x00FF00u);
    EXPECT_EQ(screenPixel(776, 313), 0x00FF00u);
    EXPECT_EQ(screenPixel(622, 297), 0x000000u);

    press(600, 318); // the red band now edits colour 2
    EXPECT_EQ(color2Red, 65);
    EXPECT_EQ(color1Red, 255);
    EXPECT_EQ(screenPixel(740, 305), 0x41FFFFu);

    press(675, 355); // "Clear"
    for (int i = 0; i < TEXTURE_PIXEL_COUNT; ++i)
        ASSERT_EQ(slots[0]->getPixels()[i], 0xFF0000u);

    press(650, 305); // back to swatch 1
    EXPECT_EQ(editedColor, 1);
    press(600, 318);
    EXPECT_EQ(color1Red, 65);
    EXPECT_EQ(color2Red, 65);
}

void expectSavedFileHolds(int slot)
{
    std::vector<uint32_t> decoded;
    ASSERT_TRUE(
        testsupport::decodeBmp24(testsupport::readFile("texture000.bmp"), 256, 256, decoded));
    const Pixel* pixels = slots[slot]->getPixels();
    for (int i = 0; i < TEXTURE_PIXEL_COUNT; ++i)
        ASSERT_EQ(decoded[i], pixels[i] & 0xFFFFFF) << "pixel " << i;
}

TEST_F(ControlPanel, ASessionSavesTheTargetSlotOverTheSameFile)
{
    InScratchDirectory scratch;
    press(555, 20); // Target "2"
    press(540, 75); // "Cells"
    press(10, 555); // "Save"
    expectSavedFileHolds(1);

    press(555, 40); // Target "4"
    press(540, 495); // "Twirl"
    press(10, 555);
    expectSavedFileHolds(3);
    EXPECT_EQ(testsupport::listDirectory("."), std::vector<std::string> { "texture000.bmp" });
}

TEST_F(ControlPanel, HoldingTheRightButtonOnPlusCountsOncePerPassUpToTheBound)
{
    pushPress(675, 125, SDL_BUTTON_RIGHT); // "+" of the light spot's size
    runPasses(100);
    EXPECT_EQ(spotSize, 228);
    runPasses(100);
    EXPECT_EQ(spotSize, 256);
    pushRelease(675, 125, SDL_BUTTON_RIGHT);
    runPass(loop);
    spotSize = 200;
    runPasses(5);
    EXPECT_EQ(spotSize, 200);
}

} // namespace
