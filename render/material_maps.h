// A material's maps but its heights and normal map: the greys of its
// roughness and metallic slots, the occlusion of its heights, and an
// engine's packed texture of the three (material_engine.h).
#pragma once

#include <cstdint>

#include "render/render_recipe.h"
#include "texture/depth.h"

// Works out `map` of `options.side` into `scratch`, a DeepPixel texture,
// as pixels of Q: levels of 8 bits as Pixels in its first half, of 16 as
// DeepPixels. Roughness and metallic are slot `slot`'s grey by the heights'
// luma rule, (int)(v x MAX + 0.5), or 1 and 0 everywhere for slot -1; the
// occlusion is of slot `slot`'s heights at `options.normals.relief`; a
// packed texture holds the occlusion of slot `slot` and the greys of
// `options.roughnessSlot` and `options.metallicSlot` as its engine lays
// them out. `slots` are the replay's four slots, left as they are. Returns
// the map, which is `scratch`.
template <class Q>
Q* makeMaterialMap(DeepPixel* const* slots, DeepPixel* scratch, MaterialMap map,
    const RenderOptions& options, int32_t slot);
