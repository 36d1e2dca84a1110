#include "render/render_recipe.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <strings.h>

#include "io/save_file.h"
#include "render/available_memory.h"
#include "render/progress_line.h"
#include "render/texture_memory.h"
#include "session/render_plan.h"
#include "texture/bmp_export.h"
#include "texture/png_export.h"
#include "texture/texture.h"

namespace {

const int32_t TEXTURES_NEEDED = 6;

bool endsWith(const char* text, const char* suffix)
{
    size_t length = strlen(text);
    size_t suffixLength = strlen(suffix);
    return length >= suffixLength && strcasecmp(text + length - suffixLength, suffix) == 0;
}

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
bool reportNoMemory(const char* fileName, int32_t side)
{
    fprintf(stderr, "Could not render %s at %d\u00D7%d: not enough memory (needs %s)\n", fileName,
        side, side, memoryText(renderMemoryBytes(side)).c_str());
    return false;
}

// The four slots and the warps' scratch texture. Their pages are taken only
// once a step writes them, so a slot the plan never uses costs nothing.
struct Textures {
    size_t pixels;
    Pixel* slots[SLOT_COUNT] = {};
    Pixel* scratch = nullptr;
    explicit Textures(int32_t side)
        : pixels(pixelCount(side))
    {
        for (Pixel*& slot : slots)
            slot = allocateTexture(pixels);
        scratch = allocateTexture(pixels);
    }
    ~Textures()
    {
        for (Pixel* slot : slots)
            freeTexture(slot, pixels);
        freeTexture(scratch, pixels);
    }
    Textures(const Textures&) = delete;
    Textures& operator=(const Textures&) = delete;
    bool complete() const
    {
        for (Pixel* slot : slots)
            if (!slot)
                return false;
        return scratch != nullptr;
    }
};

void onStep(void* context, int32_t step, int32_t application)
{
    reportStep(*(ProgressLine*)context, step, application);
}

void onRows(void* context, int32_t rows)
{
    reportRowsWritten(*(ProgressLine*)context, rows);
}

} // namespace

OutputFormat outputFormatOf(const char* fileName)
{
    if (endsWith(fileName, ".bmp"))
        return OUTPUT_BMP;
    if (endsWith(fileName, ".png"))
        return OUTPUT_PNG;
    return OUTPUT_UNKNOWN;
}

uint64_t renderMemoryBytes(int32_t side)
{
    return TEXTURES_NEEDED * (uint64_t)pixelCount(side) * sizeof(Pixel);
}

bool renderRecipe(const RenderPlan& plan, const char* fileName, const RenderOptions& options)
{
    const int32_t side = options.side;
    // The same check the save makes at the end, made before the work: a
    // large render takes minutes.
    if (int error = checkSavable(fileName)) {
        reportSaveFailure(fileName, strerror(error));
        return false;
    }
    // With memory overcommitted, allocations succeed that the system cannot
    // keep: ask first, rather than be stopped half-way.
    uint64_t available = availableMemoryBytes();
    if (available > 0 && available < renderMemoryBytes(side))
        return reportNoMemory(fileName, side);
    Textures textures(side);
    if (!textures.complete())
        return reportNoMemory(fileName, side);

    ProgressLine line;
    if (options.showProgress)
        startProgressLine(line, plan, side, fileName, options.format == OUTPUT_PNG);
    if (!runRenderPlan(plan, textures.slots, side, textures.scratch,
            options.showProgress ? onStep : nullptr, &line)) {
        stopProgressLine(line);
        return reportNoMemory(fileName, side);
    }
    reportWriting(line);
    const Pixel* pixels = textures.slots[options.slot];
    // A failure is reported once the line is gone.
    TextureImage image { pixels, side, options.showProgress ? onRows : nullptr, &line };
    FileToSave file { fileName,
        options.format == OUTPUT_PNG ? writeTexturePngData : writeTextureBmpData, &image };
    const char* failedFile = nullptr;
    const char* reason = nullptr;
    bool saved = saveFilesQuietly(&file, 1, REPLACE_EXISTING, &failedFile, &reason) == SAVED;
    stopProgressLine(line);
    if (!saved)
        reportSaveFailure(failedFile, reason);
    return saved;
}
