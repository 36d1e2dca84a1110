// Drawing costs per frame: the whole screen with every widget, with the
// four slots or the lit view, and one blit.

#include <benchmark/benchmark.h>
#include <vector>

#include "app/frame.h"
#include "app/shell.h"
#include "app/state.h"
#include "gfx/primitives.h"
#include "texture/texture.h"

namespace {

void BM_Blit(benchmark::State& state)
{
    Texture texture(TEXTURE_SIZE, TEXTURE_SIZE);
    std::vector<Pixel> buffer(WINDOW_WIDTH * WINDOW_HEIGHT);
    Canvas canvas { buffer.data(), WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_WIDTH };
    for (auto _ : state) {
        texture.blit(canvas, 4, 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Blit);

// What each pass draws: the background, the four slots, all 54 buttons and 35
// labels, the swatches and the colour picker.
// With `changeHeights`, one pixel of the source changes before each frame.
void drawScreens(benchmark::State& state, SlotArea area, bool changeHeights = false)
{
    if (setUpSession() != SESSION_READY) {
        state.SkipWithError("no memory for the slots");
        return;
    }
    slotArea = area;
    sourceSlot = 1;
    std::vector<Pixel> buffer(WINDOW_WIDTH * WINDOW_HEIGHT);
    Canvas canvas { buffer.data(), WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_WIDTH };
    for (auto _ : state) {
        if (changeHeights)
            slots[sourceSlot]->getPixels()[0] ^= 0xFFFFFF;
        fillRect(canvas, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, BACKGROUND_COLOR);
        drawScreen(canvas);
        benchmark::ClobberMemory();
    }
    sourceSlot = 0;
    tearDownSession();
    widgets.clear();
}

void BM_DrawScreen(benchmark::State& state)
{
    drawScreens(state, SlotArea::FOUR_SLOTS);
}
BENCHMARK(BM_DrawScreen)->Unit(benchmark::kMicrosecond);

// The same with the lit view in the slot area: the target's colours lit as
// the material of the source's heights, which stay the same, so their
// normals and occlusion are made once.
void BM_DrawScreenLit(benchmark::State& state)
{
    drawScreens(state, SlotArea::LIT);
}
BENCHMARK(BM_DrawScreenLit)->Unit(benchmark::kMicrosecond);

// The lit view of a material with roughness and metallic slots while an
// operation held on the source changes its heights every frame: the normals
// and the occlusion made again each time, as a held button makes them.
void BM_DrawScreenLitChangingHeights(benchmark::State& state)
{
    reopenedMaterial.roughness = 2;
    reopenedMaterial.metallic = 3;
    drawScreens(state, SlotArea::LIT, true);
    reopenedMaterial = MaterialSlots();
}
BENCHMARK(BM_DrawScreenLitChangingHeights)->Unit(benchmark::kMicrosecond);

} // namespace
