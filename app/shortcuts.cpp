#include "app/shortcuts.h"

#include "app/followed_recipe.h"
#include "app/help_page.h"
#include "app/saving.h"
#include "app/state.h"

namespace {

int shortcutModifiers(SDLMod modifiers)
{
    int result = KEY_PLAIN;
    if (modifiers & KMOD_CTRL)
        result |= KEY_CTRL;
    if (modifiers & KMOD_SHIFT)
        result |= KEY_SHIFT;
    if (modifiers & (KMOD_ALT | KMOD_META | KMOD_MODE))
        result |= KEY_OTHER;
    return result;
}

bool undo()
{
    return undoLastStep(session);
}

bool redo()
{
    return redoNextStep(session);
}

// Shows `view` in the slot area, or the four slots again when it shows
// already: each view has its key, and the key of the other view switches
// straight to that one.
bool toggleSlotArea(SlotArea view)
{
    slotArea = slotArea == view ? SlotArea::FOUR_SLOTS : view;
    return true;
}

bool toggleTiledView()
{
    return toggleSlotArea(SlotArea::TILED);
}

// The lit view lights the material of the target's colours and the
// source's heights; the drawing is drawLitTiles in app/lit_view.cpp.
bool toggleLitView()
{
    return toggleSlotArea(SlotArea::LIT);
}

const KeyPress NONE = { SDLK_UNKNOWN, KEY_PLAIN };

} // namespace

// In the order the help lists them. Escape quits in app/loop.cpp, before
// any shortcut, whatever the modifiers.
const Key KEYS[] = {
    { "Ctrl+Z", "undo the last operation", "Ctrl+Z", { { SDLK_z, KEY_CTRL }, NONE }, undo },
    { "Ctrl+Y", "redo what was undone; Ctrl+Shift+Z too", "Ctrl+Y, Ctrl+Shift+Z",
        { { SDLK_y, KEY_CTRL }, { SDLK_z, KEY_CTRL | KEY_SHIFT } }, redo },
    { "T", "tiled view: the target slot 2 by 2, so seams show", "T",
        { { SDLK_t, KEY_PLAIN }, { SDLK_t, KEY_SHIFT } }, toggleTiledView },
    { "L", "lit view: target and source lit as one material", "L",
        { { SDLK_l, KEY_PLAIN }, { SDLK_l, KEY_SHIFT } }, toggleLitView },
    { "Ctrl+S", "save again, as the Save button does", "Ctrl+S", { { SDLK_s, KEY_CTRL }, NONE },
        saveAgain },
    { "Ctrl+Shift+S", "save as new numbered files, with the recipe", "Ctrl+Shift+S",
        { { SDLK_s, KEY_CTRL | KEY_SHIFT }, NONE }, saveAsNewFile },
    // The window follows its recipe file by itself; F5 also drops unsaved steps.
    { "F5", "reload the recipe file, dropping steps not saved", "F5",
        { { SDLK_F5, KEY_PLAIN }, NONE }, reloadRecipeFromKey },
    { "Escape", "quit", "Escape", { { SDLK_ESCAPE, KEY_PLAIN }, NONE }, nullptr },
    { "F1", "help over the slots; the next key or click closes it", "F1",
        { { SDLK_F1, KEY_PLAIN }, NONE }, showHelpPage },
};

const int32_t KEY_COUNT = sizeof KEYS / sizeof KEYS[0];

const Key* findShortcut(SDLKey key, SDLMod modifiers)
{
    int pressed = shortcutModifiers(modifiers);
    for (const Key& entry : KEYS)
        for (const KeyPress& press : entry.presses)
            if (press.key != SDLK_UNKNOWN && press.key == key && press.modifiers == pressed)
                return &entry;
    return nullptr;
}

bool runShortcut(SDLKey key, SDLMod modifiers)
{
    const Key* entry = findShortcut(key, modifiers);
    return entry && entry->action && entry->action();
}
