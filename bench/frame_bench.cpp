// Drawing costs per frame: one whole screen, and one texture blit.

#include <benchmark/benchmark.h>
#include <vector>

#include "app/frame.h"
#include "app/state.h"
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

} // namespace
