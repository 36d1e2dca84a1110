#include "app/frame.h"

#include <SDL.h>

#include "app/lit_view.h"
#include "app/overlay.h"
#include "app/parameters.h"
#include "app/state.h"
#include "gfx/primitives.h"

namespace {

void drawSlots(Canvas canvas)
{
    for (int32_t i = 0; i < SLOT_COUNT; ++i) {
        int32_t x0 = SLOT_AREA_ORIGIN + (i % 2) * SLOT_SPACING;
        int32_t y0 = SLOT_AREA_ORIGIN + (i / 2) * SLOT_SPACING;
        drawBevel(canvas, x0, y0, SLOT_FRAME_SIZE, SLOT_FRAME_SIZE, SLOT_FRAME_COLOR);
        // Inside the bevel's three rings.
        if (slots[i])
            slots[i]->blit(canvas, x0 + 3, y0 + 3);
    }
}

// The tiled view: the target slot four times, edge to edge at 1:1, inside
// one bevel round the whole slot area, so both seams cross in its middle.
const int32_t TILED_FRAME_ORIGIN = 4;
const int32_t TILED_FRAME_SIZE = 2 * TEXTURE_SIZE + 6;

void drawTiledView(Canvas canvas)
{
    drawBevel(canvas, TILED_FRAME_ORIGIN, TILED_FRAME_ORIGIN, TILED_FRAME_SIZE, TILED_FRAME_SIZE,
        SLOT_FRAME_COLOR);
    const Texture* target = slots[targetSlot];
    if (!target)
        return;
    int32_t origin = TILED_FRAME_ORIGIN + 3;
    for (int32_t i = 0; i < 4; ++i)
        target->blit(canvas, origin + (i % 2) * TEXTURE_SIZE, origin + (i / 2) * TEXTURE_SIZE);
}

// The pixels of the slot a material line names, or none.
const Pixel* materialMap(int32_t slot)
{
    return slot >= 0 && slot < SLOT_COUNT && slots[slot] ? slots[slot]->getPixels() : nullptr;
}

// The lit view: the tiled view's frame round the target's colours lit as
// the material of the source's heights and the reopened recipe's roughness
// and metallic slots.
void drawLitView(Canvas canvas)
{
    drawBevel(canvas, TILED_FRAME_ORIGIN, TILED_FRAME_ORIGIN, TILED_FRAME_SIZE, TILED_FRAME_SIZE,
        SLOT_FRAME_COLOR);
    const Texture* colors = slots[targetSlot];
    const Texture* heights = slots[sourceSlot];
    if (!colors || !heights)
        return;
    int32_t origin = TILED_FRAME_ORIGIN + 3;
    drawLitTiles(canvas, origin, origin, colors->getPixels(), heights->getPixels(),
        materialMap(reopenedMaterial.roughness), materialMap(reopenedMaterial.metallic));
}

// The two colour swatches over the colour-choice buttons; the edited one has
// a green border, the other a black one.
void drawSwatches(Canvas canvas)
{
    fillRect(canvas, 622, 297, 155, 17, 0x000000);
    if (editedColor == 1)
        fillRect(canvas, 622, 297, 64, 17, 0x00FF00);
    else
        fillRect(canvas, 713, 297, 64, 17, 0x00FF00);
    fillRect(canvas, 624, 299, 60, 13, composeColor(color1Red, color1Green, color1Blue));
    fillRect(canvas, 715, 299, 60, 13, composeColor(color2Red, color2Green, color2Blue));
}

// Clears the locked window surface and draws the screen into it; false when
// the surface cannot be locked, so nothing may be written.
bool drawFrame()
{
    if (SDL_LockSurface(screen) < 0)
        return false;
    bool hasPixels = screen->pixels != nullptr;
    if (hasPixels) {
        Canvas canvas { (Pixel*)screen->pixels, WINDOW_WIDTH, WINDOW_HEIGHT, screen->pitch / 4 };
        SDL_FillRect(screen, nullptr, BACKGROUND_COLOR);
        drawScreen(canvas);
    }
    SDL_UnlockSurface(screen);
    return hasPixels;
}

} // namespace

void drawScreen(Canvas canvas)
{
    switch (slotArea) {
    case SlotArea::FOUR_SLOTS:
        drawSlots(canvas);
        break;
    case SlotArea::TILED:
        drawTiledView(canvas);
        break;
    case SlotArea::LIT:
        drawLitView(canvas);
        break;
    }
    drawOverlay(canvas);
    widgets.draw(canvas);
    drawSwatches(canvas);
    if (colorPicker)
        colorPicker->draw(canvas);
}

void renderFrame()
{
    // Where SDL draws the cursor itself, into the window surface, it must be
    // off while the frame is drawn: otherwise hiding it later would restore
    // the previous frame's pixels beneath it.
    SDL_ShowCursor(SDL_DISABLE);
    bool drawn = drawFrame();
    SDL_ShowCursor(SDL_ENABLE);
    if (drawn)
        SDL_Flip(screen);
}
