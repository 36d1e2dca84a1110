// The grey maps of a material and an engine's packed texture of them,
// worked out from the finished replay's slots.
#include "render/material_maps.h"

#include "texture/material_lighting.h"
#include "texture/normal_map.h"
#include "texture/occlusion_map.h"
#include "texture/parallel.h"

namespace {

// A map's level of a value v, 0..1, in Q's levels: (int)(v x MAX + 0.5).
template <class Q> inline uint32_t mapLevel(double value)
{
    return (uint32_t)(value * Depth<Q>::MAX + 0.5);
}

// The level of pixel i of a grey map of slot `slot`, its grey by the
// heights' luma rule, or of `absent` everywhere when there is no slot.
template <class Q> inline uint32_t greyLevelAt(const DeepPixel* slot, size_t i, double absent)
{
    return mapLevel<Q>(slot ? heightOf(slot[i]) : absent);
}

// Runs `work` on every pixel index, the rows split across threads.
template <class Work> void forEachPixel(int32_t side, const Work& work)
{
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        for (size_t i = (size_t)begin * side; i < (size_t)end * side; ++i)
            work(i);
    });
}

} // namespace

template <class Q>
Q* makeMaterialMap(DeepPixel* const* slots, DeepPixel* scratch, MaterialMap map,
    const RenderOptions& options, int32_t slot)
{
    Q* out = reinterpret_cast<Q*>(scratch);
    const int32_t side = options.side;
    if (map == MAP_ROUGHNESS || map == MAP_METALLIC) {
        const DeepPixel* grey = slot >= 0 ? slots[slot] : nullptr;
        const double absent = map == MAP_ROUGHNESS ? ROUGHNESS_WITHOUT_MAP : METALLIC_WITHOUT_MAP;
        forEachPixel(side, [&](size_t i) { out[i] = greyOf<Q>(greyLevelAt<Q>(grey, i, absent)); });
        return out;
    }
    // 8-bit maps fill half the scratch texture: the heights' levels fit in
    // the other half, which saves the occlusion room of its own.
    uint16_t* const levels = sizeof(Q) < sizeof(DeepPixel)
        ? reinterpret_cast<uint16_t*>(out + pixelCount(side))
        : nullptr;
    static_assert(sizeof(Pixel) + sizeof(uint16_t) <= sizeof(DeepPixel), "the levels fit");
    generateOcclusionMap(slots[slot], side, options.normals.relief, out, levels);
    if (map == MAP_OCCLUSION)
        return out;
    const DeepPixel* rough = options.roughnessSlot >= 0 ? slots[options.roughnessSlot] : nullptr;
    const DeepPixel* metal = options.metallicSlot >= 0 ? slots[options.metallicSlot] : nullptr;
    if (materialEngineRow(options.engine).layout == PACKED_ORM) {
        forEachPixel(side, [&](size_t i) {
            out[i] = composeLevels<Q>(channelOf(out[i], 0),
                greyLevelAt<Q>(rough, i, ROUGHNESS_WITHOUT_MAP),
                greyLevelAt<Q>(metal, i, METALLIC_WITHOUT_MAP));
        });
        return out;
    }
    // The smoothness above the colour, where the PNG writer takes its alpha.
    const uint32_t most = Depth<Q>::MAX;
    forEachPixel(side, [&](size_t i) {
        const Q smooth = (Q)(most - greyLevelAt<Q>(rough, i, ROUGHNESS_WITHOUT_MAP))
            << (3 * Depth<Q>::BITS);
        out[i] = smooth
            + composeLevels<Q>(
                greyLevelAt<Q>(metal, i, METALLIC_WITHOUT_MAP), channelOf(out[i], 0), most);
    });
    return out;
}

template Pixel* makeMaterialMap<Pixel>(
    DeepPixel* const*, DeepPixel*, MaterialMap, const RenderOptions&, int32_t);
template DeepPixel* makeMaterialMap<DeepPixel>(
    DeepPixel* const*, DeepPixel*, MaterialMap, const RenderOptions&, int32_t);
