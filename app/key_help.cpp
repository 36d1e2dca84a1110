#include "app/key_help.h"

// What each key does is in app/shortcuts.cpp, Escape's in app/loop.cpp.
const KeyHelp KEY_HELP[] = {
    { "Ctrl+Z", "undo the last operation" },
    { "Ctrl+Y", "redo what was undone; Ctrl+Shift+Z too" },
    { "T", "tiled view: the target slot 2 by 2, so seams show" },
    { "L", "lit view: target lit by source as height" },
    { "Ctrl+S", "save again, as the Save button does" },
    { "Ctrl+Shift+S", "save as new numbered files, with the recipe" },
    { "Escape", "quit" },
    { "F1", "help over the slots; the next key or click closes it" },
};

const int32_t KEY_HELP_COUNT = sizeof KEY_HELP / sizeof KEY_HELP[0];
