#include "app/shortcuts.h"

#include "app/help_page.h"
#include "app/saving.h"
#include "app/state.h"

namespace {

// The modifiers a shortcut names. Alt, Meta and AltGr all count as OTHER,
// which no shortcut takes, so the window manager's combinations and typed
// characters stay unclaimed; the lock keys do not count at all.
enum ShortcutModifiers { PLAIN = 0, CTRL = 1, SHIFT = 2, OTHER = 4 };

int shortcutModifiers(SDLMod modifiers)
{
    int result = PLAIN;
    if (modifiers & KMOD_CTRL)
        result |= CTRL;
    if (modifiers & KMOD_SHIFT)
        result |= SHIFT;
    if (modifiers & (KMOD_ALT | KMOD_META | KMOD_MODE))
        result |= OTHER;
    return result;
}

// An action returns whether the window may show something new.
typedef bool (*ShortcutAction)();

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

// The lit view lights the target's colours as the source's relief; the
// drawing is drawLitTiles in app/lit_view.cpp.
bool toggleLitView()
{
    return toggleSlotArea(SlotArea::LIT);
}

struct Shortcut {
    SDLKey key; // letters arrive lower-case, with Shift among the modifiers
    int modifiers; // exactly these
    ShortcutAction action;
};

const Shortcut SHORTCUTS[] = {
    { SDLK_z, CTRL, undo },
    { SDLK_y, CTRL, redo },
    { SDLK_z, CTRL | SHIFT, redo },
    { SDLK_t, PLAIN, toggleTiledView },
    { SDLK_t, SHIFT, toggleTiledView },
    { SDLK_l, PLAIN, toggleLitView },
    { SDLK_l, SHIFT, toggleLitView },
    { SDLK_s, CTRL, saveAgain },
    { SDLK_s, CTRL | SHIFT, saveAsNewFile },
    { SDLK_F1, PLAIN, showHelpPage },
};

} // namespace

bool runShortcut(SDLKey key, SDLMod modifiers)
{
    int pressed = shortcutModifiers(modifiers);
    for (const Shortcut& shortcut : SHORTCUTS)
        if (shortcut.key == key && shortcut.modifiers == pressed)
            return shortcut.action();
    return false;
}
