// The rules between the renderer's options, all in one place: which
// pictures exclude each other, which options go only with another, and the
// output's name, format and bits worked out from them.
#include <algorithm>
#include <cstring>
#include <strings.h>

#include "render/gltf_file.h"
#include "render/options.h"
#include "session/recipe_file.h"
#include "session/recipe_text.h"

namespace {

// Extensions are matched in any case: OUT.PNG is a PNG.
bool endsWith(const char* text, const char* suffix)
{
    size_t length = strlen(text);
    size_t suffixLength = strlen(suffix);
    return length >= suffixLength && strcasecmp(text + length - suffixLength, suffix) == 0;
}

// Whether the option was on the command line, which for a flag or an
// option whose default could also be given is all that tells.
bool isGiven(const CommandOptions& options, const char* name)
{
    return options.given & (1u << optionIndex(name));
}

// Whether the flag of that kind of picture was given; the default's never is.
bool kindIsGiven(const CommandOptions& options, PictureKind kind)
{
    const char* option = pictureKindRow(kind).option;
    return option && isGiven(options, option);
}

// "--normal or --material": the flags of the kinds that take an option,
// from the table, for the message that it needs one of them.
std::string flagsOfKindsThat(bool PictureKindRow::*takes)
{
    std::string names;
    for (const PictureKindRow& row : PICTURE_KINDS) {
        if (!(row.*takes))
            continue;
        names += (names.empty() ? "" : " or ") + std::string(row.option);
    }
    return names;
}

// The bits per channel to write in that format: --bits, else the depth in a
// PNG and 8 in a BMP; 0 with `problem` set if they cannot be written. A
// normal map comes from a depth-16 replay whatever the depth.
int32_t bitsToWrite(const CommandOptions& options, OutputFormat format, std::string* problem)
{
    const int32_t depth = options.render.depth;
    if (options.bits == 0)
        return format == OUTPUT_PNG ? depth : 8;
    // A picture from a deeper replay than --depth may have the bits of it.
    const int32_t replayDepth = pictureKindRow(options.render.picture).replayDepth;
    if (options.bits > std::max(depth, replayDepth)) {
        *problem = "--bits 16 needs --depth 16";
        return 0;
    }
    if (options.bits == 16 && format != OUTPUT_PNG) {
        *problem = "--bits 16 needs a PNG: a BMP holds 8 bits per channel";
        return 0;
    }
    return options.bits;
}

} // namespace

std::string besideOutput(const std::string& output, const char* mark, const char* extension)
{
    size_t start = output.find_last_of("/\\");
    start = start == std::string::npos ? 0 : start + 1;
    size_t dot = output.rfind('.');
    // A name's leading dot, as in ".png", starts no extension.
    if (dot == std::string::npos || dot <= start)
        dot = output.size();
    std::string name = output.substr(0, dot) + mark;
    return name + (extension ? extension : output.substr(dot).c_str());
}

namespace {

// A material's files beside OUT, in the order they are written: the heights
// last, since they are worked out in their slot, over the colours every
// other map is made from. An engine's material is its colours, its normal
// map in its green and its packed texture, a PNG.
bool listMaterialFiles(CommandOptions* options, std::string* problem)
{
    RenderOptions& render = options->render;
    std::vector<MaterialFile>& files = render.materialFiles;
    files.clear();
    if (render.picture != PICTURE_MATERIAL)
        return true;
    const std::string& output = options->output;
    files.push_back({ MAP_NORMAL, besideOutput(output, "-normal", nullptr), "" });
    if (render.engine == ENGINE_NONE) {
        files.push_back({ MAP_ROUGHNESS, besideOutput(output, "-roughness", nullptr), "" });
        files.push_back({ MAP_METALLIC, besideOutput(output, "-metallic", nullptr), "" });
        files.push_back({ MAP_OCCLUSION, besideOutput(output, "-ao", nullptr), "" });
        files.push_back({ MAP_HEIGHTS, besideOutput(output, "-height", ".png"), "" });
        return true;
    }
    const MaterialEngineRow& engine = materialEngineRow(render.engine);
    if (render.format != OUTPUT_PNG) {
        *problem = std::string("--for ") + engine.name
            + " writes PNGs: name OUT .png or give --format png";
        return false;
    }
    if (render.mapBits == 16 && !engine.takes16BitPacked) {
        *problem = std::string("--for ") + engine.name
            + " takes an 8-bit packed texture; give it without --bits 16";
        return false;
    }
    if (!isGiven(*options, "--normal-y"))
        render.normals.greenUp = engine.greenUp;
    files.push_back({ MAP_PACKED, besideOutput(output, engine.packedMark, nullptr), "" });
    // A gltf material comes with the scene that shows it, naming the three.
    if (render.engine == ENGINE_GLTF) {
        const GltfFiles gltf = gltfFilesBeside(output);
        files.push_back({ MAP_SCENE, gltf.document, gltfMaterialDocument(gltf.images) });
    }
    return true;
}

} // namespace

bool checkOptionRules(const CommandOptions& options, std::string* problem)
{
    if (!options.recipe) {
        *problem = "no RECIPE given";
        return false;
    }
    // One kind of picture at a time: a material makes every map itself.
    const char* firstKind = nullptr;
    for (const PictureKindRow& row : PICTURE_KINDS) {
        if (!kindIsGiven(options, row.kind) || row.kind == PICTURE_MATERIAL)
            continue;
        if (kindIsGiven(options, PICTURE_MATERIAL)) {
            *problem
                = std::string("--material writes every map itself; give it without ") + row.option;
            return false;
        }
        if (firstKind) {
            *problem = std::string(firstKind) + " and " + row.option
                + " write different pictures; give one of them";
            return false;
        }
        firstKind = row.option;
    }
    const PictureKindRow& picture = pictureKindRow(options.render.picture);
    // --for names an engine to write a material for.
    for (const char* name : { "--height-slot", "--for" }) {
        if (isGiven(options, name) && !picture.takesHeightSlot) {
            *problem = std::string(name) + " needs "
                + flagsOfKindsThat(&PictureKindRow::takesHeightSlot);
            return false;
        }
    }
    if (isGiven(options, "--relief") && !picture.takesRelief) {
        *problem = "--relief needs " + flagsOfKindsThat(&PictureKindRow::takesRelief);
        return false;
    }
    if (isGiven(options, "--normal-y") && !picture.takesNormalY) {
        *problem = "--normal-y needs " + flagsOfKindsThat(&PictureKindRow::takesNormalY);
        return false;
    }
    return true;
}

bool finishOptions(CommandOptions* options, std::string* problem)
{
    RenderOptions& render = options->render;
    const PictureKindRow& picture = pictureKindRow(render.picture);
    if (!options->outputGiven && readsStandardInput(*options)) {
        *problem = "reading standard input needs -o OUT";
        return false;
    }
    // Without -o, the picture is named after the recipe, .png for --format
    // png and else .bmp.
    if (options->outputGiven)
        options->output = options->outputGiven;
    else
        options->output
            = recipeStem(options->recipe) + (render.format == OUTPUT_PNG ? ".png" : ".bmp");
    if (render.format == OUTPUT_UNKNOWN)
        render.format = outputFormatOf(options->output.c_str());
    if (render.format == OUTPUT_UNKNOWN) {
        *problem
            = "'" + shownText(options->output) + "' must end in .bmp or .png, or give --format";
        return false;
    }
    // A picture of fixed bits is a PNG of them, whatever --bits would say.
    if (picture.fixedBits) {
        const std::string bits = std::to_string(picture.fixedBits);
        if (render.format != OUTPUT_PNG) {
            *problem = std::string(picture.option) + " writes a " + bits
                + "-bit PNG: name OUT .png or give --format png";
            return false;
        }
        if (options->bits) {
            *problem = std::string(picture.option) + " always writes " + bits
                + " bits per sample; give it without --bits";
            return false;
        }
    }
    render.bits
        = picture.fixedBits ? picture.fixedBits : bitsToWrite(*options, render.format, problem);
    if (!render.bits)
        return false;
    // The grey maps are 8 bits unless --bits 16 asks for more.
    render.mapBits = options->bits ? render.bits : 8;
    if (picture.greyMap)
        render.bits = render.mapBits;
    return listMaterialFiles(options, problem);
    return true;
}

OutputFormat outputFormatOf(const char* fileName)
{
    if (endsWith(fileName, ".bmp"))
        return OUTPUT_BMP;
    if (endsWith(fileName, ".png"))
        return OUTPUT_PNG;
    return OUTPUT_UNKNOWN;
}

bool chooseSlots(CommandOptions* options, const Recipe& recipe)
{
    RenderOptions& render = options->render;
    render.slot = options->slot >= 0 ? options->slot : recipe.saveSlot;
    if (render.slot < 0)
        return false;
    render.heightSlot = options->heightSlot >= 0 ? options->heightSlot
        : recipe.material.height >= 0            ? recipe.material.height
                                                 : render.slot;
    // A grey map alone is of the written slot; a material's of its line's slots.
    const bool alone = render.picture != PICTURE_MATERIAL;
    render.roughnessSlot = alone ? render.slot : recipe.material.roughness;
    render.metallicSlot = alone ? render.slot : recipe.material.metallic;
    return true;
}

bool readsStandardInput(const CommandOptions& options)
{
    return options.recipe && strcmp(options.recipe, "-") == 0;
}
