// Normal maps: the rule worked out exactly, on the torus, so the maps tile;
// and the surface they mean: a sine's slopes are the analytic ones at every
// side, and green flips on request. The renderer's tests check flat heights
// and the options.

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "tests/support/random_texture.h"
#include "texture/normal_map.h"
#include "texture/parallel.h"

namespace {

const double PI = 3.14159265358979323846;

std::vector<DeepPixel> randomDeepTexture(uint32_t seed, int32_t side)
{
    testsupport::Noise noise(seed);
    std::vector<DeepPixel> pixels((size_t)side * side);
    for (DeepPixel& pixel : pixels)
        pixel = ((DeepPixel)noise.next() << 32) | noise.next();
    return pixels;
}

// The normal map as its definition reads, pixel by pixel, with every sum
// and product in the order written there and every coordinate wrapped.
template <class Q>
std::vector<Q> definedNormalMap(
    const std::vector<DeepPixel>& pixels, int32_t n, double relief, bool greenUp)
{
    auto h = [&](int32_t x, int32_t y) {
        DeepPixel p = pixels[(size_t)((y + n) % n) * n + (x + n) % n];
        return (0.2126 * (double)((p >> 32) & 0xFFFF) + 0.7152 * (double)((p >> 16) & 0xFFFF)
                   + 0.0722 * (double)(p & 0xFFFF))
            / 65535.0;
    };
    auto level
        = [](double c) { return (uint64_t)(int)((c * 0.5 + 0.5) * (double)Depth<Q>::MAX + 0.5); };
    std::vector<Q> map(pixels.size());
    for (int32_t y = 0; y < n; ++y)
        for (int32_t x = 0; x < n; ++x) {
            double gx = ((h(x + 1, y - 1) + 2.0 * h(x + 1, y)) + h(x + 1, y + 1))
                - ((h(x - 1, y - 1) + 2.0 * h(x - 1, y)) + h(x - 1, y + 1));
            double gy = ((h(x - 1, y + 1) + 2.0 * h(x, y + 1)) + h(x + 1, y + 1))
                - ((h(x - 1, y - 1) + 2.0 * h(x, y - 1)) + h(x + 1, y - 1));
            double sx = gx * n / 8.0 * relief;
            double sy = gy * n / 8.0 * relief;
            double length = std::sqrt(sx * sx + sy * sy + 1);
            double ny = greenUp ? sy : -sy;
            map[(size_t)y * n + x]
                = composeLevels<Q>(level(-sx / length), level(ny / length), level(1 / length));
        }
    return map;
}

TEST(NormalMap, IsWhatItsDefinitionGivesOnAnyNumberOfThreads)
{
    const int32_t side = 512; // large enough to be split across threads
    const std::vector<DeepPixel> heights = randomDeepTexture(5, side);
    setOperationThreads(3);
    for (double relief : { DEFAULT_RELIEF, 0.37, MAX_RELIEF })
        for (bool greenUp : { true, false }) {
            NormalOptions options;
            options.relief = relief;
            options.greenUp = greenUp;
            std::vector<Pixel> map(heights.size());
            generateNormalMap(heights.data(), side, options, map.data());
            EXPECT_EQ(map, definedNormalMap<Pixel>(heights, side, relief, greenUp))
                << "8 bits, relief " << relief << (greenUp ? " up" : " down");
            std::vector<DeepPixel> deepMap(heights.size());
            generateNormalMap(heights.data(), side, options, deepMap.data());
            EXPECT_EQ(deepMap, definedNormalMap<DeepPixel>(heights, side, relief, greenUp))
                << "16 bits, relief " << relief << (greenUp ? " up" : " down");
        }
    setOperationThreads(1);
}

// Heights 0.5 + 0.25 sin(6 pi u) + 0.2 cos(4 pi v) over the texture's
// width u and height v, three waves across and two down, at 16 bits.
std::vector<DeepPixel> sineHeights(int32_t side)
{
    std::vector<DeepPixel> heights((size_t)side * side);
    for (int32_t y = 0; y < side; ++y)
        for (int32_t x = 0; x < side; ++x) {
            double h = 0.5 + 0.25 * std::sin(6 * PI * x / side) + 0.2 * std::cos(4 * PI * y / side);
            heights[(size_t)y * side + x] = greyOf<DeepPixel>((uint64_t)std::lround(h * 65535));
        }
    return heights;
}

// The channel an exact normal component gives with 8 bits.
int32_t exactLevel(double component)
{
    return (int32_t)std::lround((component * 0.5 + 0.5) * 255);
}

TEST(NormalMap, OfASineIsTheAnalyticNormalWithinOneStepAtEverySide)
{
    for (int32_t side : { 256, 1024 })
        for (double relief : { DEFAULT_RELIEF, 0.1 })
            for (bool greenUp : { true, false }) {
                const std::vector<DeepPixel> heights = sineHeights(side);
                NormalOptions options;
                options.relief = relief;
                options.greenUp = greenUp;
                std::vector<Pixel> map(heights.size());
                generateNormalMap(heights.data(), side, options, map.data());
                int32_t worst = 0;
                for (int32_t y = 0; y < side; ++y)
                    for (int32_t x = 0; x < side; ++x) {
                        // The slopes per texture width; y runs down the
                        // picture, so a rise downwards leans the normal up.
                        double sx = relief * 0.25 * 6 * PI * std::cos(6 * PI * x / side);
                        double sy = relief * -0.2 * 4 * PI * std::sin(4 * PI * y / side);
                        double length = std::sqrt(sx * sx + sy * sy + 1);
                        Pixel shown = map[(size_t)y * side + x];
                        int32_t expected[3] = { exactLevel(-sx / length),
                            exactLevel((greenUp ? sy : -sy) / length), exactLevel(1 / length) };
                        for (int32_t c = 0; c < 3; ++c)
                            worst = std::max(
                                worst, std::abs((int32_t)channelOf(shown, 2 - c) - expected[c]));
                    }
                EXPECT_LE(worst, 1)
                    << "side " << side << ", relief " << relief << (greenUp ? " up" : " down");
            }
}

} // namespace
