#include "app/lit_view.h"

#include <cstring>

#include "texture/normal_map.h"
#include "texture/occlusion_map.h"
#include "texture/texture.h"

namespace {

// Low enough that joints and grain shade visibly.
const double LIGHT_AXIS = 0.57735026918962576; // 1 / sqrt(3)
const UnitNormal LIGHT_DIRECTION = { -LIGHT_AXIS, LIGHT_AXIS, LIGHT_AXIS };

// The sky's share of a flat surface's light: enough that slopes turned
// away from the light keep their colours readable.
const double AMBIENT = 0.25;

const UnitNormal FLAT = { 0.0, 0.0, 1.0 };

MaterialLight makeLight()
{
    // The light leaving flat white is linear in the intensity: w = s x E + A,
    // where s comes from the model at E = 1; E makes it 1.
    const MaterialLight unit { LIGHT_DIRECTION, 1.0, AMBIENT };
    const LinearColor white
        = lightMaterial(LinearColor { 1.0, 1.0, 1.0 }, FLAT, 1.0, 1.0, 0.0, unit);
    return MaterialLight { LIGHT_DIRECTION, (1.0 - AMBIENT) / (white.red - AMBIENT), AMBIENT };
}

// What the last frame's heights were, and the maps made from them, reused
// while the heights stay the same.
Pixel shownHeights[TEXTURE_PIXEL_COUNT];
bool heightsKnown = false;
UnitNormal normals[TEXTURE_PIXEL_COUNT];
Pixel occlusion[TEXTURE_PIXEL_COUNT];

// The lit picture of the last frame, reused by the next.
Pixel lit[TEXTURE_PIXEL_COUNT];

void updateHeightMaps(const Pixel* heights)
{
    if (heightsKnown && memcmp(shownHeights, heights, sizeof(shownHeights)) == 0)
        return;
    memcpy(shownHeights, heights, sizeof(shownHeights));
    heightsKnown = true;
    generateUnitNormals(heights, TEXTURE_SIZE, NormalOptions(), normals);
    generateOcclusionMap(heights, TEXTURE_SIZE, DEFAULT_RELIEF, occlusion);
}

// Channel `index` of a pixel (0 blue, 1 green, 2 red) as 0..1.
inline double channelValue(Pixel color, uint32_t index)
{
    return (double)channelOf(color, index) / (double)Depth<Pixel>::MAX;
}

} // namespace

const MaterialLight& litViewLight()
{
    static const MaterialLight light = makeLight();
    return light;
}

uint32_t litLevel(double value)
{
    return value >= 1.0 ? 255 : (uint32_t)(value * 255.0 + 0.5);
}

void drawLitTiles(Canvas canvas, int32_t x, int32_t y, const Pixel* colors, const Pixel* heights,
    const Pixel* roughness, const Pixel* metallic)
{
    updateHeightMaps(heights);
    const MaterialLight& light = litViewLight();
    for (int32_t i = 0; i < TEXTURE_PIXEL_COUNT; ++i) {
        const Pixel color = colors[i];
        const LinearColor base { channelValue(color, 2), channelValue(color, 1),
            channelValue(color, 0) };
        const LinearColor shown = lightMaterial(base, normals[i], channelValue(occlusion[i], 0),
            roughness ? heightOf(roughness[i]) : ROUGHNESS_WITHOUT_MAP,
            metallic ? heightOf(metallic[i]) : METALLIC_WITHOUT_MAP, light);
        lit[i] = composeColor(litLevel(shown.red), litLevel(shown.green), litLevel(shown.blue));
    }
    for (int32_t tile = 0; tile < 4; ++tile) {
        Pixel* target = canvas.pixels + (intptr_t)(y + (tile / 2) * TEXTURE_SIZE) * canvas.pitch + x
            + (tile % 2) * TEXTURE_SIZE;
        for (int32_t row = 0; row < TEXTURE_SIZE; ++row, target += canvas.pitch)
            memcpy(target, lit + row * TEXTURE_SIZE, TEXTURE_SIZE * sizeof(Pixel));
    }
}
