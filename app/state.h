// The application's global state, read and written by the shell and the
// control panel's commands.
#pragma once

#include <cstddef>
#include <string>

#include "gui/color_picker.h"
#include "gui/widget_list.h"
#include "session/recipe.h"
#include "session/session.h"
#include "session/step.h"
#include "texture/texture.h"

struct SDL_Surface;

// Room for any path the system takes; a reopened recipe may name one.
const int32_t SAVE_FILE_NAME_SIZE = 4096;

// The four texture slots: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
extern Texture* slots[SLOT_COUNT];

// Fills `pixels` with the four slots' pixel arrays, in slot order.
void getSlotPixels(Pixel* pixels[SLOT_COUNT]);

// What the user did to the slots, for undo and the recipe; its slot pointers
// are the slots' pixel arrays while the slots exist.
extern Session session;

// What the slot area shows: the four slots; the target slot four times,
// edge to edge (the tiled view); or that, lit as a relief whose heights are
// the source slot's (the lit view). Only the keys T and L change it, and
// nothing in it is saved or recorded.
enum class SlotArea { FOUR_SLOTS, TILED, LIT };
extern SlotArea slotArea;

// The window surface, owned by SDL.
extern SDL_Surface* screen;

// The slot that operations write and Save exports, and the second input of the combiners.
extern int32_t targetSlot;
extern int32_t sourceSlot;

// The number Save as a new file counts up from: 0 at launch, the number of
// a reopened "textureNNN.recipe", or the number it chose last.
extern int32_t saveCounter;
// Where Save writes the target slot.
extern char saveFileName[SAVE_FILE_NAME_SIZE];
// Where Save writes the session's recipe beside it: empty while the name is
// the launch's "texture000.bmp", which gets no recipe.
extern char recipeFileName[SAVE_FILE_NAME_SIZE];
// The reopened recipe's text, byte for byte as read, and how many of the
// session's lines its replay recorded. A recipe saved from the session is
// that text with the lines recorded since added, so nothing the user wrote
// is lost. Empty, and 0, when no recipe was reopened.
extern std::string reopenedRecipeText;
extern size_t replayedLineCount;
// The reopened recipe's last material line: a material saved from the lit
// view keeps its roughness and metallic slots, as the window cannot change
// them. None when no recipe was reopened.
extern MaterialSlots reopenedMaterial;
// The label beside "Save" that shows the name; owned by the widget list.
extern Label* saveNameLabel;

// The one colour picker, created with the control panel.
extern ColorPicker* colorPicker;

// Every button and label. Built before main runs and destroyed at exit, after SDL_Quit.
extern WidgetList widgets;
