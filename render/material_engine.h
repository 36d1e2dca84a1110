// The engines a material can be written for, each a row: the name --for
// takes, which way its normal maps' green points and the packed texture it
// reads roughness, metallic and occlusion from.
#pragma once

#include <cstdint>

enum MaterialEngine {
    ENGINE_NONE, // every map in a file of its own
    ENGINE_GLTF,
    ENGINE_UNREAL,
    ENGINE_UNITY,
    ENGINE_GODOT,
    ENGINE_COUNT
};

// How an engine packs its greys into one texture, every channel linear.
enum PackedLayout {
    PACKED_ORM, // red occlusion, green roughness, blue metallic
    // Red metallic, green occlusion, blue a detail mask of 1 everywhere,
    // alpha smoothness: MAX less the roughness's level.
    PACKED_MASK,
};

// The fields are in the order that packs them closest.
struct MaterialEngineRow {
    const char* name; // as --for takes it; null for none
    const char* packedMark; // the packed texture's name beside OUT, "-orm"
    MaterialEngine engine;
    PackedLayout layout;
    bool greenUp; // its normal maps' green: true up (OpenGL style), false down (DirectX style)
    // Whether its importer is known to read a 16-bit packed texture as one;
    // where not, --bits 16 is refused rather than risk a texture read at 8
    // bits or turned into a colour of a different range.
    bool takes16BitPacked;
};

// A row per engine, in the order of MaterialEngine. 16-bit packed
// textures only where the format itself defines them (gltf's PNGs may be
// of 16 bits) or the importer is known to keep them whole (godot's);
// unreal's and unity's are taken at 8 bits, the size their materials'
// packed textures are made at.
inline constexpr MaterialEngineRow MATERIAL_ENGINES[ENGINE_COUNT] = {
    // name, packed mark, engine, layout, green up, 16-bit packed
    { nullptr, nullptr, ENGINE_NONE, PACKED_ORM, true, false },
    { "gltf", "-orm", ENGINE_GLTF, PACKED_ORM, true, true },
    { "unreal", "-orm", ENGINE_UNREAL, PACKED_ORM, false, false },
    { "unity", "-mask", ENGINE_UNITY, PACKED_MASK, true, false },
    { "godot", "-orm", ENGINE_GODOT, PACKED_ORM, true, true },
};

constexpr const MaterialEngineRow& materialEngineRow(MaterialEngine engine)
{
    return MATERIAL_ENGINES[engine];
}
static_assert(materialEngineRow(ENGINE_GLTF).engine == ENGINE_GLTF
        && materialEngineRow(ENGINE_UNREAL).engine == ENGINE_UNREAL
        && materialEngineRow(ENGINE_UNITY).engine == ENGINE_UNITY
        && materialEngineRow(ENGINE_GODOT).engine == ENGINE_GODOT,
    "MATERIAL_ENGINES has its rows in the order of MaterialEngine");
