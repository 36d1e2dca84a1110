// The keys as the help page and --help list them: one line each.
#pragma once

#include <cstdint>

struct KeyHelp {
    const char* key; // as the user presses it: "Ctrl+Shift+S"
    const char* text; // what it does, in at most 56 characters
};

extern const KeyHelp KEY_HELP[];
extern const int32_t KEY_HELP_COUNT;
