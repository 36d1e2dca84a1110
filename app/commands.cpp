#include "app/commands.h"

#include "app/parameters.h"
#include "app/state.h"
#include "texture/bmp_export.h"
#include "texture/color_ops.h"
#include "texture/combiners.h"
#include "texture/generators.h"
#include "texture/warps.h"

Button* targetButtons[4];
Button* sourceButtons[4];

namespace {

Pixel* targetPixels()
{
    return slots[targetSlot]->getPixels();
}

const Pixel* sourcePixels()
{
    return slots[sourceSlot]->getPixels();
}

void selectTarget(int32_t slot)
{
    targetSlot = slot;
    markSelection(targetButtons, targetSlot);
}

void selectSource(int32_t slot)
{
    sourceSlot = slot;
    markSelection(sourceButtons, sourceSlot);
}

} // namespace

void markSelection(Button* buttons[4], int32_t selected)
{
    for (int32_t i = 0; i < 4; ++i)
        if (buttons[i])
            buttons[i]->setColor(i == selected ? SELECTED_BUTTON_COLOR : BUTTON_COLOR);
}

void selectTarget1()
{
    selectTarget(0);
}
void selectTarget2()
{
    selectTarget(1);
}
void selectTarget3()
{
    selectTarget(2);
}
void selectTarget4()
{
    selectTarget(3);
}
void selectSource1()
{
    selectSource(0);
}
void selectSource2()
{
    selectSource(1);
}
void selectSource3()
{
    selectSource(2);
}
void selectSource4()
{
    selectSource(3);
}

void runCells()
{
    generateCells(targetPixels(), cellCount, cellSize);
}

void runPlasma()
{
    // The plasma fills only empty cells, so every run starts from an empty slot.
    Texture* target = slots[targetSlot];
    Pixel* pixel = target->getPixels();
    for (Pixel* end = pixel + (intptr_t)target->getWidth() * target->getHeight(); pixel < end;
         ++pixel)
        *pixel = EMPTY_PIXEL;
    generatePlasma(target->getPixels(), plasmaVariation);
}

void runPong()
{
    generatePong(targetPixels(), spotSize);
}

void runSine()
{
    generateSine(targetPixels(), sineWavesX, sineWavesY);
}

void runAdd()
{
    addTexture(targetPixels(), sourcePixels());
}

void runSub()
{
    subtractTexture(targetPixels(), sourcePixels());
}

void runMix()
{
    mixTexture(targetPixels(), sourcePixels(), mixBalance);
}

void runCopy()
{
    copyTexture(targetPixels(), sourcePixels());
}

void runMax()
{
    maxTexture(targetPixels(), sourcePixels());
}

void editColor1()
{
    if (colorPicker)
        colorPicker->bind(&color1Red, &color1Green, &color1Blue);
    editedColor = 1;
}

void editColor2()
{
    if (colorPicker)
        colorPicker->bind(&color2Red, &color2Green, &color2Blue);
    editedColor = 2;
}

void runColorize()
{
    colorizeTexture(
        targetPixels(), color1Red, color1Green, color1Blue, color2Red, color2Green, color2Blue);
}

void runInvert()
{
    invertTexture(targetPixels());
}

void runClear()
{
    // Clear always fills with colour 1, whichever colour the picker edits.
    clearTexture(targetPixels(), color1Red, color1Green, color1Blue);
}

void runMove()
{
    moveTexture(targetPixels(), moveX, moveY);
}

void runDeform()
{
    deformTexture(targetPixels(), deformWavesX, deformSizeX, deformWavesY, deformSizeY);
}

void runTwirl()
{
    twirlTexture(targetPixels(), twirlDirection);
}

void runSave()
{
    saveTextureBmp(targetPixels(), saveFileName);
}
