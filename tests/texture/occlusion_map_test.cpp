// Occlusion maps: the sweep's horizons against every point of every line,
// the torus and the thread count leaving no mark on the bytes, and the
// surface they mean: a flat texture sees all the sky, the floor of a cone
// sees it past the cone's rim.

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "tests/support/random_texture.h"
#include "texture/normal_map.h"
#include "texture/occlusion_map.h"
#include "texture/parallel.h"

namespace {

// The occlusion map as its definition reads: for every pixel and direction
// every other point of the line through it, k steps on, its slope compared
// as a double (rounding keeps the order of the exact slopes, so the largest
// double is the largest slope rounded).
template <class Q, class P>
std::vector<Q> definedOcclusionMap(const std::vector<P>& pixels, int32_t n, double relief)
{
    const int32_t directions[16][2] = { { 1, 0 }, { -1, 0 }, { 0, 1 }, { 0, -1 }, { 1, 1 },
        { 1, -1 }, { -1, 1 }, { -1, -1 }, { 1, 2 }, { 1, -2 }, { -1, 2 }, { -1, -2 }, { 2, 1 },
        { 2, -1 }, { -2, 1 }, { -2, -1 } };
    auto wrap = [n](int64_t v) { return (int32_t)(((v % n) + n) % n); };
    auto height = [&](int64_t x, int64_t y) {
        return (int64_t)heightLevel(pixels[(size_t)wrap(y) * n + wrap(x)]);
    };
    std::vector<Q> map(pixels.size());
    for (int32_t y = 0; y < n; ++y)
        for (int32_t x = 0; x < n; ++x) {
            uint64_t sum = 0;
            for (const auto& d : directions) {
                int32_t period = 1;
                while (wrap((int64_t)period * d[0]) != 0 || wrap((int64_t)period * d[1]) != 0)
                    ++period;
                double largest = 0;
                for (int32_t k = 1; k < period; ++k) {
                    int64_t rise
                        = height(x + (int64_t)k * d[0], y + (int64_t)k * d[1]) - height(x, y);
                    if (rise > 0)
                        largest = std::max(largest, (double)rise / (double)k);
                }
                double c = relief * n / (65535.0 * std::sqrt((double)(d[0] * d[0] + d[1] * d[1])));
                double s = largest * c;
                sum += (uint64_t)(1.0 / (1.0 + s * s) * 16777216.0 + 0.5);
            }
            double v = (double)sum / (16.0 * 16777216.0);
            map[(size_t)y * n + x] = greyOf<Q>((uint64_t)(int)(v * Depth<Q>::MAX + 0.5));
        }
    return map;
}

// Greys of a few levels only, so that equal slopes abound.
std::vector<Pixel> fewLevels(uint32_t seed, int32_t side)
{
    testsupport::Noise noise(seed);
    std::vector<Pixel> pixels(pixelCount(side));
    for (Pixel& pixel : pixels)
        pixel = greyOf<Pixel>((uint64_t)noise.between(0, 3));
    return pixels;
}

template <class Q, class P> std::vector<Q> occlusionOf(const std::vector<P>& heights, double relief)
{
    const int32_t side = (int32_t)std::lround(std::sqrt((double)heights.size()));
    std::vector<Q> map(heights.size());
    generateOcclusionMap(heights.data(), side, relief, map.data());
    return map;
}

TEST(OcclusionMap, IsWhatItsDefinitionGives)
{
    for (int32_t side : { 1, 2, 4, 8, 16, 32, 64 })
        for (double relief : { DEFAULT_RELIEF, 0.37, MAX_RELIEF }) {
            const std::vector<DeepPixel> deep
                = testsupport::randomTexture<DeepPixel>((uint32_t)side, side);
            const std::vector<Pixel> flat = testsupport::randomTexture<Pixel>(7, side);
            const std::vector<Pixel> ties = fewLevels((uint32_t)side + 3, side);
            EXPECT_EQ((occlusionOf<DeepPixel>(deep, relief)),
                (definedOcclusionMap<DeepPixel>(deep, side, relief)))
                << "16 bits into 16 at side " << side << ", relief " << relief;
            EXPECT_EQ((occlusionOf<Pixel>(deep, relief)),
                (definedOcclusionMap<Pixel>(deep, side, relief)))
                << "16 bits into 8 at side " << side << ", relief " << relief;
            EXPECT_EQ((occlusionOf<DeepPixel>(flat, relief)),
                (definedOcclusionMap<DeepPixel>(flat, side, relief)))
                << "8 bits into 16 at side " << side << ", relief " << relief;
            EXPECT_EQ((occlusionOf<Pixel>(ties, relief)),
                (definedOcclusionMap<Pixel>(ties, side, relief)))
                << "few levels at side " << side << ", relief " << relief;
        }
}

// Long lines, many of them worked side by side: a direction and its
// opposite swept along the same gathered heights, the ties (equal highest
// points met first from either end) among them.
TEST(OcclusionMap, IsWhatItsDefinitionGivesOnLongerLines)
{
    const int32_t side = 128;
    const std::vector<DeepPixel> deep = testsupport::randomTexture<DeepPixel>(19, side);
    const std::vector<Pixel> ties = fewLevels(23, side);
    EXPECT_EQ(
        (occlusionOf<DeepPixel>(deep, 0.37)), (definedOcclusionMap<DeepPixel>(deep, side, 0.37)));
    EXPECT_EQ((occlusionOf<Pixel>(ties, DEFAULT_RELIEF)),
        (definedOcclusionMap<Pixel>(ties, side, DEFAULT_RELIEF)));
}

TEST(OcclusionMap, ShiftsWithItsHeightsAroundTheTorus)
{
    const int32_t side = 128;
    const std::vector<DeepPixel> heights = testsupport::randomTexture<DeepPixel>(11, side);
    const std::vector<DeepPixel> map = occlusionOf<DeepPixel>(heights, 0.1);
    for (auto shift : { std::pair<int32_t, int32_t> { 1, 0 }, { 0, 77 }, { 37, 101 } }) {
        std::vector<DeepPixel> moved(heights.size()), expected(heights.size());
        for (int32_t y = 0; y < side; ++y)
            for (int32_t x = 0; x < side; ++x) {
                size_t to = (size_t)((y + shift.second) % side) * side + (x + shift.first) % side;
                moved[to] = heights[(size_t)y * side + x];
                expected[to] = map[(size_t)y * side + x];
            }
        EXPECT_EQ(occlusionOf<DeepPixel>(moved, 0.1), expected)
            << "shifted by " << shift.first << ", " << shift.second;
    }
}

TEST(OcclusionMap, FlatHeightsSeeAllTheSky)
{
    for (int32_t side : { 1, 256 }) {
        const std::vector<DeepPixel> flat(pixelCount(side), 0x123456789ABCull);
        EXPECT_EQ(occlusionOf<DeepPixel>(flat, MAX_RELIEF),
            std::vector<DeepPixel>(flat.size(), greyOf<DeepPixel>(65535)));
        EXPECT_EQ(occlusionOf<Pixel>(flat, MAX_RELIEF),
            std::vector<Pixel>(flat.size(), greyOf<Pixel>(255)));
    }
}

// A cone 32 pixels wide sunk into a plain: its floor sees the sky past
// slopes 1/32 of a width high per 32 pixels of 256 times the relief, 1.6 in
// every direction, so 1 / (1 + 1.6²) of it; halfway up less is hidden, and
// the plain sees it all.
TEST(OcclusionMap, AConeFloorSeesTheSkyPastItsRim)
{
    const int32_t side = 256;
    const double radius = 32;
    std::vector<DeepPixel> heights(pixelCount(side));
    for (int32_t y = 0; y < side; ++y)
        for (int32_t x = 0; x < side; ++x) {
            double r = std::hypot(x - 128.0, y - 128.0);
            heights[(size_t)y * side + x]
                = greyOf<DeepPixel>((uint64_t)(std::min(1.0, r / radius) * 65535.0 + 0.5));
        }
    const std::vector<Pixel> map = occlusionOf<Pixel>(heights, 0.2);
    auto level = [&](int32_t x, int32_t y) { return (int32_t)(map[(size_t)y * side + x] & 0xFF); };
    EXPECT_NEAR(level(128, 128), 255.0 / (1.0 + 1.6 * 1.6), 1.0);
    EXPECT_GT(level(144, 128), level(128, 128));
    EXPECT_LT(level(144, 128), 255);
    EXPECT_EQ(level(128 + 40, 128), 255);
    EXPECT_EQ(level(0, 0), 255);
}

TEST(OcclusionMap, IsTheSameBytesOnAnyNumberOfThreadsAndInTheCallersRoom)
{
    const int32_t side = 1024; // above PARALLEL_PIXELS, so split across threads
    const std::vector<DeepPixel> deep = testsupport::randomTexture<DeepPixel>(13, side);
    const std::vector<Pixel> colors = testsupport::randomTexture<Pixel>(17, side);
    setOperationThreads(1);
    const std::vector<DeepPixel> deepOnOne = occlusionOf<DeepPixel>(deep, DEFAULT_RELIEF);
    const std::vector<Pixel> colorsOnOne = occlusionOf<Pixel>(colors, 0.5);
    for (int32_t threads : { 2, 8 }) {
        setOperationThreads(threads);
        EXPECT_EQ(occlusionOf<DeepPixel>(deep, DEFAULT_RELIEF), deepOnOne) << threads << " threads";
        EXPECT_EQ(occlusionOf<Pixel>(colors, 0.5), colorsOnOne) << threads << " threads";
        // The levels in room the caller lends, left full of other levels.
        std::vector<uint16_t> room(colors.size(), 0xBEEF);
        std::vector<Pixel> lent(colors.size());
        generateOcclusionMap(colors.data(), side, 0.5, lent.data(), room.data());
        EXPECT_EQ(lent, colorsOnOne) << threads << " threads";
    }
    setOperationThreads(1);
}

} // namespace
