#include "app/state.h"

Texture* slots[SLOT_COUNT];
Session session;
SlotArea slotArea = SlotArea::FOUR_SLOTS;
SDL_Surface* screen;
int32_t targetSlot = 0;
int32_t sourceSlot = 0;
int32_t saveCounter = 0;
char saveFileName[SAVE_FILE_NAME_SIZE];
char recipeFileName[SAVE_FILE_NAME_SIZE];
std::string reopenedRecipeText;
size_t replayedLineCount = 0;
MaterialSlots reopenedMaterial;
Label* saveNameLabel;
ColorPicker* colorPicker;

void getSlotPixels(Pixel* pixels[SLOT_COUNT])
{
    for (int32_t i = 0; i < SLOT_COUNT; ++i)
        pixels[i] = slots[i]->getPixels();
}

// A static object: constructed before main, and its destructor is registered
// with the exit handlers at that moment, so it runs after SDL_Quit.
WidgetList widgets;
