// Rendering a recipe without a window: only the steps that reach the
// written slot, on four slots of any texture side, and that slot written to
// a BMP or PNG file.
#pragma once

#include <cstdint>

#include "session/render_plan.h"
#include "texture/normal_map.h"

enum OutputFormat { OUTPUT_BMP, OUTPUT_PNG, OUTPUT_UNKNOWN };

struct RenderOptions {
    int32_t slot = 0; // 0..3
    int32_t side = 256; // a texture side, see texture.h
    int32_t depth = 8; // bits per channel of every texture of the replay: 8 or 16
    int32_t bits = 8; // bits per channel written: 8, or 16 at depth 16 into a PNG
    OutputFormat format = OUTPUT_BMP;
    // Write the slot's normal map, with `bits` bits per channel (16 only into
    // a PNG), instead of its colours; the replay is then at depth 16 whatever
    // `depth` says.
    bool normalMap = false;
    NormalOptions normals;
    // Write the slot's heights as a 16-bit grey PNG instead of its colours:
    // each pixel the heightLevel of a depth-16 replay, the heights a normal
    // map is made from. The replay is then at depth 16.
    bool heightMap = false;
    // Write a material from one depth-16 replay: the slot's colours to the
    // file (`bits` per channel), and the heights and normal map of slot
    // `heightSlot` to `heightFile` (a 16-bit grey PNG) and `normalFile` (in
    // `format`, `bits` per channel), each file the bytes the single render
    // of it gives. The three are placed together once all are written.
    bool material = false;
    int32_t heightSlot = 0; // 0..3
    const char* heightFile = nullptr;
    const char* normalFile = nullptr;
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
