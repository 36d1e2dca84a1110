#include "app/overlay.h"

#include <cstdio>
#include <cstring>

#include "app/frame.h"
#include "gfx/primitives.h"
#include "gfx/text.h"

Overlay overlay;

namespace {

const int32_t LINE_HEIGHT = 12;

// The height of a box that holds `lineCount` lines of 8-pixel glyphs.
int32_t boxHeight(int32_t lineCount)
{
    return 2 * OVERLAY_PADDING + (lineCount - 1) * LINE_HEIGHT + font6x8.glyphHeight;
}

} // namespace

bool overlayShown()
{
    return overlay.lineCount > 0;
}

void startOverlay(bool fillsSlotArea)
{
    overlay.lineCount = 0;
    overlay.fillsSlotArea = fillsSlotArea;
    overlay.owner = nullptr;
    overlay.offeredKeys[0] = overlay.offeredKeys[1] = nullptr;
}

bool overlayOffersKey(OverlayKeyAction action)
{
    if (!overlayShown() || !action)
        return false;
    for (OverlayKeyAction offered : overlay.offeredKeys)
        if (offered == action)
            return true;
    return false;
}

void addOverlayLine(Pixel color, int32_t column, const char* text)
{
    if (overlay.lineCount >= OVERLAY_MAX_LINES || column < 0 || column >= OVERLAY_LINE_CHARACTERS)
        return;
    OverlayLine& line = overlay.lines[overlay.lineCount++];
    line.key[0] = '\0';
    line.column = column;
    line.color = color;
    snprintf(line.text, (size_t)(OVERLAY_LINE_CHARACTERS + 1) - (size_t)column, "%s", text);
    // The font has no backslash: a Windows path reads right with slashes,
    // which the system takes as well.
    for (char* c = line.text; *c; ++c)
        if (*c == '\\')
            *c = '/';
}

void addOverlaySpace()
{
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "");
}

void addOverlayKeyLine(const char* key, const char* text)
{
    addOverlayLine(OVERLAY_TEXT_COLOR, OVERLAY_KEY_COLUMN, text);
    if (overlay.lineCount > 0)
        snprintf(overlay.lines[overlay.lineCount - 1].key, OVERLAY_KEY_COLUMN, "%s", key);
}

void closeOverlay()
{
    overlay.lineCount = 0;
}

void drawOverlay(Canvas canvas)
{
    if (!overlayShown())
        return;
    int32_t height = overlay.fillsSlotArea ? SLOT_AREA_SIZE : boxHeight(overlay.lineCount);
    int32_t top = SLOT_AREA_ORIGIN + (SLOT_AREA_SIZE - height) / 2;
    drawBevel(canvas, SLOT_AREA_ORIGIN, top, SLOT_AREA_SIZE, height, SLOT_FRAME_COLOR);
    fillRect(
        canvas, SLOT_AREA_ORIGIN + 3, top + 3, SLOT_AREA_SIZE - 6, height - 6, BACKGROUND_COLOR);
    int32_t left = SLOT_AREA_ORIGIN + OVERLAY_PADDING;
    int32_t y = top + OVERLAY_PADDING;
    for (int32_t i = 0; i < overlay.lineCount; ++i, y += LINE_HEIGHT) {
        const OverlayLine& line = overlay.lines[i];
        drawText(canvas, left, y, font6x8, line.key, OVERLAY_NAME_COLOR);
        drawText(
            canvas, left + line.column * OVERLAY_CELL_WIDTH, y, font6x8, line.text, line.color);
    }
}

void shortenInMiddle(const char* text, size_t maxCharacters, char* out)
{
    size_t length = strlen(text);
    if (length <= maxCharacters || maxCharacters < 5) {
        snprintf(out, maxCharacters + 1, "%s", text);
        return;
    }
    // The end holds the file's own name, so it gets the larger half.
    size_t kept = maxCharacters - 3;
    size_t head = kept / 2;
    size_t tail = kept - head;
    snprintf(out, maxCharacters + 1, "%.*s...%s", (int)head, text, text + length - tail);
}
