// A page of text over the slot area: the help page, a failed save's
// message, a replay's progress. While one shows, the next key or press only
// closes it (see app/loop.cpp); the panel beside it is drawn as usual.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/commands.h"
#include "app/frame.h"
#include "gfx/canvas.h"

// Inside the slot frames' three rings, a margin; text in cells of the 6x8
// font's glyph and a pixel between glyphs.
const int32_t OVERLAY_PADDING = 13;
const int32_t OVERLAY_CELL_WIDTH = 7;

// The most characters a line holds: the slot area's width less the margins.
const int32_t OVERLAY_LINE_CHARACTERS = (SLOT_AREA_SIZE - 2 * OVERLAY_PADDING) / OVERLAY_CELL_WIDTH;
const int32_t OVERLAY_MAX_LINES = 40;
// Where a key line's description starts, in characters from the left margin.
const int32_t OVERLAY_KEY_COLUMN = 15;

// The texts' colours: the panel's titles, selected buttons and labels.
const Pixel OVERLAY_TITLE_COLOR = TITLE_COLOR;
const Pixel OVERLAY_NAME_COLOR = SELECTED_BUTTON_COLOR;
const Pixel OVERLAY_TEXT_COLOR = BUTTON_COLOR;

struct OverlayLine {
    char key[OVERLAY_KEY_COLUMN]; // a key's name at the left margin, or empty
    char text[OVERLAY_LINE_CHARACTERS + 1];
    int32_t column; // where the text starts, in characters from the left margin
    Pixel color;
};

// What a key runs; a message may let the keys it offers act through it.
typedef bool (*OverlayKeyAction)();

struct Overlay {
    int32_t lineCount = 0; // none: nothing shows
    bool fillsSlotArea = false; // else a box as high as its lines, in the middle
    OverlayLine lines[OVERLAY_MAX_LINES];
    // Who opened the page, for one that closes it again when what it says
    // no longer holds; null for a page nobody closes but the user.
    const void* owner = nullptr;
    // The actions of keys that act at once while the page shows, instead
    // of only closing it (a message's "F5 reloads it"); the rest null.
    OverlayKeyAction offeredKeys[2] = {};
};

// The one overlay of the window.
extern Overlay overlay;

// Whether a page shows over the slot area.
bool overlayShown();

// Starts a new page, empty until lines are added: one that covers the whole
// slot area, or a box in its middle. It has no owner and offers no keys.
void startOverlay(bool fillsSlotArea);

// Whether the page that shows lets the key with this action act at once.
bool overlayOffersKey(OverlayKeyAction action);

// Adds a line that starts `column` characters from the left margin, cut to
// the room that is left, with any backslash shown as a slash; a page that
// is full takes no more.
void addOverlayLine(Pixel color, int32_t column, const char* text);

// Adds an empty line.
void addOverlaySpace();

// Adds a key's line: its name, and what it does at OVERLAY_KEY_COLUMN.
void addOverlayKeyLine(const char* key, const char* text);

// Closes the page.
void closeOverlay();

// Draws the page, if one shows, over the slot area.
void drawOverlay(Canvas canvas);

// Copies `text` into `out`, which has room for maxCharacters + 1: whole if it
// fits, otherwise its start and its end with "..." between them.
void shortenInMiddle(const char* text, size_t maxCharacters, char* out);
