// Rendering a recipe without a window: only the steps that reach the
// written slot, on four slots of any texture side, and that slot written to
// a BMP or PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/material_engine.h"
#include "render/picture_kind.h"
#include "session/render_plan.h"
#include "texture/normal_map.h"

enum OutputFormat { OUTPUT_BMP, OUTPUT_PNG, OUTPUT_UNKNOWN };

// The maps a material writes beside its colours.
enum MaterialMap {
    MAP_HEIGHTS, // 16-bit grey heights of the heights' slot
    MAP_NORMAL, // the normal map of the heights' slot
    MAP_ROUGHNESS, // the roughness slot's grey, or 1 without one
    MAP_METALLIC, // the metallic slot's grey, or 0 without one
    MAP_OCCLUSION, // the occlusion map of the heights' slot
    MAP_PACKED, // an engine's: occlusion, roughness and metallic as red, green and blue
    MAP_SCENE, // a gltf scene showing the material: its text is the file's
};

// One of a material's files beside OUT.
struct MaterialFile {
    MaterialMap map;
    std::string name;
    std::string text; // MAP_SCENE: the whole file
};

// How to render and write a recipe's slot. The command line fills it in
// (options.h) and the recipe then names the slots.
struct RenderOptions {
    int32_t slot = 0; // 0..3
    int32_t side = 256; // a texture side, see texture.h
    int32_t depth = 8; // bits per channel of every texture of the replay: 8 or 16
    int32_t bits = 8; // bits per channel written: 8, or 16 at depth 16 into a PNG
    OutputFormat format = OUTPUT_UNKNOWN; // until the command line's output decides
    // What is written, its files and the depth of its replay (picture_kind.h).
    // A normal map is written with `bits` bits per channel (16 only into a
    // PNG); heights as a 16-bit grey PNG, each pixel the heightLevel of a
    // depth-16 replay, the heights a normal map is made from. A material
    // writes the slot's colours to the file (`bits` per channel), and its
    // maps to `materialFiles`, in their order: the heights (a 16-bit grey
    // PNG) and the normal map (`bits` per channel) of slot `heightSlot`, the
    // greys of `roughnessSlot` and `metallicSlot` and the occlusion of the
    // heights (`mapBits` per channel), or an engine's packed texture of the
    // last three; each file the bytes the single render of it gives, all
    // placed together once all are written. A grey map alone is written
    // with `mapBits` bits.
    PictureKind picture = PICTURE_COLORS;
    NormalOptions normals;
    int32_t heightSlot = 0; // 0..3
    int32_t roughnessSlot = -1; // 0..3, or -1: fully rough
    int32_t metallicSlot = -1; // 0..3, or -1: not metal
    int32_t mapBits = 8; // 8, or 16 into a PNG
    MaterialEngine engine = ENGINE_NONE;
    std::vector<MaterialFile> materialFiles;
    bool showProgress = false; // a line on stderr while a long render runs
};

// What a render of that side and depth may need at most: the four slots, a
// warp's scratch texture and the writer's copy of the picture, rounded up
// to six textures.
uint64_t renderMemoryBytes(int32_t side, int32_t depth);

// Runs the plan, made for slot `options.slot` of a recipe, at side
// `options.side` and depth `options.depth`, and writes that slot (or its
// normal map) to `fileName` through the window program's own export,
// replacing the file. First makes sure the file can be written there and
// the memory can be had, so a render that cannot end well does no work.
// False, with one line on stderr and nothing written, if the file cannot be
// written or the memory cannot be had.
bool renderRecipe(const RenderPlan& plan, const char* fileName, const RenderOptions& options);
