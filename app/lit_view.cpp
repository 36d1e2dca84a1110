#include "app/lit_view.h"

#include <cstring>

#include "texture/texture.h"

namespace {

// The light comes from the upper left and out of the picture, along
// (-1, 1, 1): low enough that joints and grain cast visible shading.
const double LIGHT_AXIS = 0.57735026918962576; // 1 / sqrt(3)
const UnitNormal LIGHT = { -LIGHT_AXIS, LIGHT_AXIS, LIGHT_AXIS };

// The share of the light that reaches every surface, even one turned away.
const double AMBIENT = 0.25;

// Fixed-point unit of lightLevel.
const double LEVEL_ONE = 65536.0;

// The brightness of a surface before it is scaled so that flat is 1.
double brightness(const UnitNormal& normal)
{
    double facing = normal.x * LIGHT.x + normal.y * LIGHT.y + normal.z * LIGHT.z;
    return AMBIENT + (1.0 - AMBIENT) * (facing > 0.0 ? facing : 0.0);
}

// A channel 0..255 in the light of `level`, capped at full brightness.
inline uint32_t litChannel(uint32_t channel, uint32_t level)
{
    uint32_t lit = (channel * level + 32768) >> 16;
    return lit < 255 ? lit : 255;
}

// The normals and the lit picture of the last frame, reused by the next.
UnitNormal normals[TEXTURE_PIXEL_COUNT];
Pixel lit[TEXTURE_PIXEL_COUNT];

} // namespace

uint32_t lightLevel(const UnitNormal& normal)
{
    // Flat shows the colour itself, so the material stays recognisable and
    // only its slopes light up or darken.
    static const double flat = brightness(UnitNormal { 0.0, 0.0, 1.0 });
    return (uint32_t)(brightness(normal) / flat * LEVEL_ONE + 0.5);
}

void drawLitTiles(Canvas canvas, int32_t x, int32_t y, const Pixel* colors, const Pixel* heights)
{
    generateUnitNormals(heights, TEXTURE_SIZE, NormalOptions(), normals);
    for (int32_t i = 0; i < TEXTURE_PIXEL_COUNT; ++i) {
        uint32_t level = lightLevel(normals[i]);
        Pixel color = colors[i];
        lit[i] = composeColor(litChannel((color >> 16) & 0xFF, level),
            litChannel((color >> 8) & 0xFF, level), litChannel(color & 0xFF, level));
    }
    for (int32_t tile = 0; tile < 4; ++tile) {
        Pixel* target = canvas.pixels + (intptr_t)(y + (tile / 2) * TEXTURE_SIZE) * canvas.pitch + x
            + (tile % 2) * TEXTURE_SIZE;
        for (int32_t row = 0; row < TEXTURE_SIZE; ++row, target += canvas.pitch)
            memcpy(target, lit + row * TEXTURE_SIZE, TEXTURE_SIZE * sizeof(Pixel));
    }
}
