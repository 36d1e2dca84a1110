// Rendering a recipe without a window: only the steps that reach the
// written slot, on four slots of any texture side, and that slot written to
// a BMP or PNG file.
#pragma once

#include <cstdint>
#include <string>

#include "render/picture_kind.h"
#include "session/render_plan.h"
#include "texture/normal_map.h"

enum OutputFormat { OUTPUT_BMP, OUTPUT_PNG, OUTPUT_UNKNOWN };

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
    // writes the slot's colours to the file (`bits` per channel), and the
    // heights and normal map of slot `heightSlot` to `heightFile` (a 16-bit
    // grey PNG) and `normalFile` (in `format`, `bits` per channel), each file
    // the bytes the single render of it gives; the three are placed
    // together once all are written.
    PictureKind picture = PICTURE_COLORS;
    NormalOptions normals;
    int32_t heightSlot = 0; // 0..3
    std::string heightFile;
    std::string normalFile;
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
