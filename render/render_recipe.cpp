#include "render/render_recipe.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "io/save_file.h"
#include "png/png_export.h"
#include "render/available_memory.h"
#include "render/material_maps.h"
#include "render/progress_line.h"
#include "session/render_plan.h"
#include "texture/bmp_export.h"
#include "texture/normal_map.h"
#include "texture/texture.h"
#include "texture/texture_memory.h"

namespace {

const int32_t TEXTURES_NEEDED = 6;

// "6.0 GiB", or "384 MiB" below a gibibyte, rounded up.
std::string memoryText(uint64_t bytes)
{
    char text[32];
    if (bytes >= ((uint64_t)1 << 30))
        snprintf(text, sizeof text, "%.1f GiB", (double)bytes / (double)((uint64_t)1 << 30));
    else
        snprintf(
            text, sizeof text, "%llu MiB", (unsigned long long)((bytes + ((1u << 20) - 1)) >> 20));
    return text;
}

// Reports that the render cannot have its memory; returns false.
bool reportNoMemory(const char* fileName, const RenderOptions& options)
{
    const int32_t side = options.side;
    fprintf(stderr, "Could not render %s at %d\u00D7%d: not enough memory (needs %s)\n", fileName,
        side, side, memoryText(renderMemoryBytes(side, options.depth)).c_str());
    return false;
}

// The four slots and the warps' scratch texture, of pixels of type P. Their
// pages are taken only once a step writes them, so a slot the plan never
// uses costs nothing.
template <class P> struct Textures {
    size_t pixels;
    P* slots[SLOT_COUNT] = {};
    P* scratch = nullptr;
    explicit Textures(int32_t side)
        : pixels(pixelCount(side))
    {
        for (P*& slot : slots)
            slot = allocateTexture<P>(pixels);
        scratch = allocateTexture<P>(pixels);
    }
    ~Textures()
    {
        for (P* slot : slots)
            freeTexture(slot, pixels);
        freeTexture(scratch, pixels);
    }
    Textures(const Textures&) = delete;
    Textures& operator=(const Textures&) = delete;
    bool complete() const
    {
        for (P* slot : slots)
            if (!slot)
                return false;
        return scratch != nullptr;
    }
};

// The written slot as a file to save: the writer for the format and the
// image it reads, of either pixel type (an 8-bit normal map comes from a
// 16-bit replay).
struct SlotFile {
    OnePerPixelType<TextureImage> images {};
    FileToSave file {};
};

// The slot's pixels as a file of `bits` bits per channel in that format.
template <class P>
void prepareSlotFile(SlotFile& out, const P* pixels, const char* fileName, OutputFormat format,
    int32_t side, int32_t bits, RowsWritten rowsWritten, void* context,
    PngPicture picture = PNG_COLORS)
{
    TextureImage<P>& image = std::get<TextureImage<P>>(out.images);
    image = TextureImage<P> { pixels, side, bits, rowsWritten, context };
    out.file = FileToSave { fileName,
        format == OUTPUT_PNG ? pngWriterOf<P>(picture) : writeTextureBmpData<P>, &image };
}

// The normal map of slot `heightSlot`, worked out into the scratch texture
// that the replay is done with, as the file to save: levels of 8 bits as
// Pixels (half the scratch texture), of 16 as DeepPixels.
void prepareNormalMapFile(SlotFile& out, const Textures<DeepPixel>& textures, int32_t heightSlot,
    const char* fileName, const RenderOptions& options, RowsWritten rowsWritten, void* context)
{
    const DeepPixel* heights = textures.slots[heightSlot];
    if (options.bits == 16) {
        generateNormalMap(heights, options.side, options.normals, textures.scratch);
        prepareSlotFile(out, textures.scratch, fileName, options.format, options.side, 16,
            rowsWritten, context, PNG_NORMAL_MAP);
        return;
    }
    Pixel* normals = reinterpret_cast<Pixel*>(textures.scratch);
    generateNormalMap(heights, options.side, options.normals, normals);
    prepareSlotFile(out, normals, fileName, options.format, options.side, 8, rowsWritten, context,
        PNG_NORMAL_MAP);
}

// The heights of slot `heightSlot` as a 16-bit grey PNG to save. They are
// worked out in the slot itself, pixel by pixel, so they take no memory of
// their own: whatever else needs the slot's colours must have been made
// from them before.
void prepareHeightFile(SlotFile& out, const Textures<DeepPixel>& textures, int32_t heightSlot,
    const char* fileName, int32_t side, RowsWritten rowsWritten, void* context)
{
    DeepPixel* pixels = textures.slots[heightSlot];
    generateHeightMap(pixels, side, pixels);
    prepareSlotFile(out, pixels, fileName, OUTPUT_PNG, side, 16, rowsWritten, context, PNG_HEIGHTS);
}

// A map of makeMaterialMap as the file to save, `options.mapBits` bits per channel.
void prepareMapFile(SlotFile& out, const Textures<DeepPixel>& textures, MaterialMap map,
    int32_t slot, const char* fileName, const RenderOptions& options, RowsWritten rowsWritten,
    void* context)
{
    const bool mask = materialEngineRow(options.engine).layout == PACKED_MASK;
    const PngPicture picture = map != MAP_PACKED ? PNG_HEIGHTS
        : mask                                   ? PNG_PACKED_WITH_ALPHA
                                                 : PNG_PACKED;
    if (options.mapBits == 16)
        prepareSlotFile(out,
            makeMaterialMap<DeepPixel>(textures.slots, textures.scratch, map, options, slot),
            fileName, options.format, options.side, 16, rowsWritten, context, picture);
    else
        prepareSlotFile(out,
            makeMaterialMap<Pixel>(textures.slots, textures.scratch, map, options, slot), fileName,
            options.format, options.side, 8, rowsWritten, context, picture);
}

// The plan and the writers know nothing of the line: these pass their news on.
void onStep(void* context, int32_t step, int32_t application)
{
    reportStep(*(ProgressLine*)context, step, application);
}

void onRows(void* context, int32_t rows)
{
    reportRowsWritten(*(ProgressLine*)context, rows);
}

// One of a material's derived files: each map is worked out only when its
// turn to be written comes, in the scratch texture, and the heights last
// in their own slot, so a material needs no more memory than a normal map;
// the files are placed together once all are written.
struct DerivedFile {
    const Textures<DeepPixel>* textures;
    const RenderOptions* options;
    ProgressLine* line;
    MaterialMap map;
    int32_t index; // among the material's files
    const char* name;
    SlotFile file;
    const std::string* scene; // MAP_SCENE: the file's text
};

// The slot a material's grey map or packed texture is made from: roughness
// and metallic their own (-1 for none), the occlusion and the packed
// texture the heights'.
int32_t mapSlot(MaterialMap map, const RenderOptions& options)
{
    return map == MAP_ROUGHNESS ? options.roughnessSlot
        : map == MAP_METALLIC   ? options.metallicSlot
                                : options.heightSlot;
}

// Writes a scene file's text whole.
const char* writeSceneFile(const std::string& text, FILE* file)
{
    errno = 0;
    if (fwrite(text.data(), 1, text.size(), file) == text.size())
        return nullptr;
    return strerror(errno ? errno : EIO);
}

// The save's writer of a derived file: made only once its turn comes.
const char* writeDerivedFile(const void* data, FILE* file)
{
    DerivedFile& derived = *(DerivedFile*)data;
    const RenderOptions& options = *derived.options;
    const RowsWritten rows = options.showProgress ? onRows : nullptr;
    reportWritingFile(*derived.line, derived.name, derived.index);
    const Textures<DeepPixel>& textures = *derived.textures;
    switch (derived.map) {
    case MAP_NORMAL:
        prepareNormalMapFile(
            derived.file, textures, options.heightSlot, derived.name, options, rows, derived.line);
        break;
    case MAP_HEIGHTS:
        prepareHeightFile(derived.file, textures, options.heightSlot, derived.name, options.side,
            rows, derived.line);
        break;
    case MAP_ROUGHNESS:
    case MAP_METALLIC:
    case MAP_OCCLUSION:
    case MAP_PACKED:
        prepareMapFile(derived.file, textures, derived.map, mapSlot(derived.map, options),
            derived.name, options, rows, derived.line);
        break;
    case MAP_SCENE:
        return writeSceneFile(*derived.scene, file);
    }
    return derived.file.file.write(derived.file.file.data, file);
}

// The colours written first, then reported done before the derived files.
struct ColorFile {
    ProgressLine* line;
    SlotFile file;
};

// The save's writer of the colours, which names them on the line first.
const char* writeColorFile(const void* data, FILE* file)
{
    const ColorFile& colors = *(const ColorFile*)data;
    reportWritingFile(*colors.line, colors.file.file.name, 0);
    return colors.file.file.write(colors.file.file.data, file);
}

// Saves the files, reporting a failure once the line is gone.
bool saveReported(const FileToSave* files, int count, ProgressLine& line)
{
    const char* failedFile = nullptr;
    const char* reason = nullptr;
    bool saved = saveFilesQuietly(files, count, REPLACE_EXISTING, &failedFile, &reason) == SAVED;
    stopProgressLine(line);
    if (!saved)
        reportSaveFailure(failedFile, reason);
    return saved;
}

// The most files a material writes: OUT and its maps.
const int32_t MOST_MATERIAL_FILES = pictureKindRow(PICTURE_MATERIAL).fileCount;
static_assert(MOST_MATERIAL_FILES <= MAX_FILES_SAVED_TOGETHER, "a material is saved as one group");

// Writes a material from the finished depth-16 replay: the colours, then
// its maps in the order options.materialFiles lists them, the heights
// last, since they take the place of the colours the others are made from.
bool saveMaterial(const Textures<DeepPixel>& textures, const char* fileName,
    const RenderOptions& options, ProgressLine& line)
{
    const RowsWritten rows = options.showProgress ? onRows : nullptr;
    ColorFile colors { &line, {} };
    prepareSlotFile(colors.file, textures.slots[options.slot], fileName, options.format,
        options.side, options.bits, rows, &line);
    DerivedFile derived[MOST_MATERIAL_FILES];
    FileToSave files[MOST_MATERIAL_FILES];
    files[0] = { fileName, writeColorFile, &colors };
    int32_t count = 1;
    for (const MaterialFile& material : options.materialFiles) {
        const char* name = material.name.c_str();
        derived[count]
            = { &textures, &options, &line, material.map, count, name, {}, &material.text };
        files[count] = { name, writeDerivedFile, &derived[count] };
        ++count;
    }
    return saveReported(files, count, line);
}

// The one file of any picture but a material, from the finished replay:
// its colours, or at depth 16 its normal map or its heights.
template <class P>
void prepareSingleFile(SlotFile& slotFile, const Textures<P>& textures, const char* fileName,
    const RenderOptions& options, ProgressLine& line)
{
    const RowsWritten rows = options.showProgress ? onRows : nullptr;
    if constexpr (Depth<P>::BITS == 16) {
        if (options.picture == PICTURE_NORMAL_MAP) {
            reportNormalMap(line);
            prepareNormalMapFile(slotFile, textures, options.slot, fileName, options, rows, &line);
            return;
        }
        if (options.picture == PICTURE_HEIGHTS) {
            prepareHeightFile(
                slotFile, textures, options.slot, fileName, options.side, rows, &line);
            return;
        }
        const MaterialMap maps[3] = { MAP_ROUGHNESS, MAP_METALLIC, MAP_OCCLUSION };
        const PictureKind kinds[3] = { PICTURE_ROUGHNESS, PICTURE_METALLIC, PICTURE_OCCLUSION };
        for (int32_t i = 0; i < 3; ++i) {
            if (options.picture == kinds[i]) {
                if (pictureKindRow(kinds[i]).passesBeforeWriting)
                    reportMapPass(line, "occlusion map");
                prepareMapFile(
                    slotFile, textures, maps[i], options.slot, fileName, options, rows, &line);
                return;
            }
        }
    }
    prepareSlotFile(slotFile, textures.slots[options.slot], fileName, options.format, options.side,
        options.bits, rows, &line);
}

// renderRecipe on textures of pixels of type P, once the file and the
// memory are known to be there.
template <class P>
bool renderAtDepth(const RenderPlan& plan, const char* fileName, const RenderOptions& options)
{
    const int32_t side = options.side;
    Textures<P> textures(side);
    if (!textures.complete())
        return reportNoMemory(fileName, options);

    ProgressLine line;
    if (options.showProgress) {
        // An engine's material writes fewer files, its maps among them.
        PictureKindRow picture = pictureKindRow(options.picture);
        if (picture.kind == PICTURE_MATERIAL) {
            picture.fileCount = 1 + (int32_t)options.materialFiles.size();
            picture.passesAmongWrites = options.engine == ENGINE_NONE ? 3 : 2;
        }
        startProgressLine(line, plan, side, fileName, options.format == OUTPUT_PNG, picture);
    }
    if (!runRenderPlan(plan, textures.slots, side, textures.scratch,
            options.showProgress ? onStep : nullptr, &line)) {
        stopProgressLine(line);
        return reportNoMemory(fileName, options);
    }
    // Materials come from 16-bit replays only.
    if constexpr (Depth<P>::BITS == 16)
        if (options.picture == PICTURE_MATERIAL)
            return saveMaterial(textures, fileName, options, line);
    SlotFile slotFile;
    prepareSingleFile(slotFile, textures, fileName, options, line);
    reportWriting(line);
    return saveReported(&slotFile.file, 1, line);
}

} // namespace

uint64_t renderMemoryBytes(int32_t side, int32_t depth)
{
    const uint64_t pixelBytes
        = withPixelType(depth, [](auto zero) { return (uint64_t)Depth<decltype(zero)>::BYTES; });
    return TEXTURES_NEEDED * (uint64_t)pixelCount(side) * pixelBytes;
}

bool renderRecipe(const RenderPlan& plan, const char* fileName, const RenderOptions& options)
{
    // Normal maps, heights and materials come from a depth-16 replay.
    const PictureKindRow& picture = pictureKindRow(options.picture);
    if (picture.replayDepth && options.depth != picture.replayDepth) {
        RenderOptions deep = options;
        deep.depth = picture.replayDepth;
        return renderRecipe(plan, fileName, deep);
    }
    // The same check the save makes at the end, made before the work: a
    // large render takes minutes. A material's other files follow OUT.
    std::vector<const char*> files = { fileName };
    for (const MaterialFile& material : options.materialFiles)
        files.push_back(material.name.c_str());
    for (const char* name : files) {
        if (int error = checkSavable(name)) {
            reportSaveFailure(name, strerror(error));
            return false;
        }
    }
    // With memory overcommitted, allocations succeed that the system cannot
    // keep: ask first, rather than be stopped half-way.
    uint64_t available = availableMemoryBytes();
    if (available > 0 && available < renderMemoryBytes(options.side, options.depth))
        return reportNoMemory(fileName, options);
    return withPixelType(options.depth,
        [&](auto zero) { return renderAtDepth<decltype(zero)>(plan, fileName, options); });
}
