// Unit normals: the same surface as the normal map, as vectors that lighting
// code can use, in a frame with x right and y up.

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "tests/support/random_texture.h"
#include "texture/normal_map.h"

namespace {

// A normal's component on the levels of a depth, as a normal map stores it.
template <class Q> uint64_t encoded(double component)
{
    return (uint64_t)((component * 0.5 + 0.5) * Depth<Q>::MAX + 0.5);
}

template <class P, class Q>
void expectTheNormalMapsSurface(const std::vector<P>& heights, int32_t side)
{
    for (bool greenUp : { true, false }) {
        NormalOptions options;
        options.greenUp = greenUp;
        options.relief = 0.3;
        std::vector<Q> map(heights.size());
        std::vector<UnitNormal> normals(heights.size());
        generateNormalMap(heights.data(), side, options, map.data());
        generateUnitNormals(heights.data(), side, options, normals.data());
        for (size_t i = 0; i < heights.size(); ++i) {
            const UnitNormal& n = normals[i];
            ASSERT_EQ(map[i], composeLevels<Q>(encoded<Q>(n.x), encoded<Q>(n.y), encoded<Q>(n.z)))
                << "pixel " << i << (greenUp ? " green up" : " green down");
            ASSERT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0, 1e-12) << "pixel " << i;
        }
    }
}

TEST(UnitNormals, AreTheNormalMapsSurfaceAtEitherDepth)
{
    expectTheNormalMapsSurface<Pixel, Pixel>(testsupport::randomTexture(7), 256);
    std::vector<DeepPixel> deep(512 * 512);
    testsupport::Noise noise(11);
    for (DeepPixel& pixel : deep)
        pixel = ((DeepPixel)noise.next() << 32) | noise.next();
    expectTheNormalMapsSurface<DeepPixel, DeepPixel>(deep, 512);
}

TEST(UnitNormals, LeanAwayFromTheRiseWithYUp)
{
    // Grey rising one level a pixel to the right over the middle of the
    // texture; the same down the picture.
    std::vector<Pixel> across(256 * 256), down(256 * 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            across[y * 256 + x] = (Pixel)x * 0x010101u;
            down[y * 256 + x] = (Pixel)y * 0x010101u;
        }
    std::vector<UnitNormal> normals(256 * 256);
    NormalOptions options;
    generateUnitNormals(across.data(), 256, options, normals.data());
    // Per texture width the rise is 256 / 255, times the relief.
    double slope = 256.0 / 255.0 * options.relief;
    const UnitNormal& middle = normals[100 * 256 + 128];
    EXPECT_NEAR(middle.x, -slope / sqrt(slope * slope + 1), 1e-9);
    EXPECT_NEAR(middle.y, 0.0, 1e-12);
    EXPECT_NEAR(middle.z, 1 / sqrt(slope * slope + 1), 1e-9);

    // Rising down the picture is falling upwards: the normal leans up.
    generateUnitNormals(down.data(), 256, options, normals.data());
    EXPECT_NEAR(normals[128 * 256 + 100].x, 0.0, 1e-12);
    EXPECT_NEAR(normals[128 * 256 + 100].y, slope / sqrt(slope * slope + 1), 1e-9);
    options.greenUp = false;
    generateUnitNormals(down.data(), 256, options, normals.data());
    EXPECT_NEAR(normals[128 * 256 + 100].y, -slope / sqrt(slope * slope + 1), 1e-9);
}

} // namespace
