#include "render/render_recipe.h"

#include <cerrno>
#include <cstring>
#include <strings.h>

#include "io/save_file.h"
#include "session/replay.h"
#include "texture/bmp_export.h"
#include "texture/png_export.h"
#include "texture/texture.h"

namespace {

bool endsWith(const char* text, const char* suffix)
{
    size_t length = strlen(text);
    size_t suffixLength = strlen(suffix);
    return length >= suffixLength && strcasecmp(text + length - suffixLength, suffix) == 0;
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

bool renderRecipe(const Recipe& recipe, int32_t slot, const char* fileName, OutputFormat format)
{
    Texture textures[SLOT_COUNT] = {
        { TEXTURE_SIZE, TEXTURE_SIZE },
        { TEXTURE_SIZE, TEXTURE_SIZE },
        { TEXTURE_SIZE, TEXTURE_SIZE },
        { TEXTURE_SIZE, TEXTURE_SIZE },
    };
    Session session;
    for (int32_t i = 0; i < SLOT_COUNT; ++i) {
        session.slots[i] = textures[i].getPixels();
        if (!session.slots[i]) {
            reportSaveFailure(fileName, strerror(ENOMEM));
            return false;
        }
    }
    resetToStartUp(session.slots);
    // Nothing goes on after the replay, so only what the recipe undoes needs
    // pixels kept; the slots come out the same.
    replayRecipe(session, recipe, REPLAY_KEEPS_WHAT_IT_UNDOES);
    const Pixel* pixels = session.slots[slot];
    bool saved = format == OUTPUT_PNG ? saveTexturePng(pixels, fileName)
                                      : saveTextureBmp(pixels, fileName);
    releaseSession(session);
    return saved;
}
