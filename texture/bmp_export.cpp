#include "texture/bmp_export.h"

#include <SDL.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// SDL 1.2 makes no surface this wide or wider, and keeps a row's pitch in 16
// bits: 8192 is the widest texture it can save.
const int32_t SDL_SURFACE_WIDTH_LIMIT = 16384;

// Hands the surface to SDL's BMP writer and frees it.
const char* saveSurface(SDL_Surface* surface, FILE* file)
{
    SDL_RWops* stream = SDL_RWFromFP(file, 0);
    if (!stream) {
        SDL_FreeSurface(surface);
        return SDL_GetError();
    }
    errno = 0;
    int result = SDL_SaveBMP_RW(surface, stream, 1);
    SDL_FreeSurface(surface);
    if (result < 0)
        return errno ? strerror(errno) : SDL_GetError();
    return nullptr;
}

} // namespace

const char* writeTextureBmp(const Pixel* pixels, int32_t side, FILE* file)
{
    if (side >= SDL_SURFACE_WIDTH_LIMIT)
        return writeTextureBmpDirectly(pixels, side, file);
    // SDL reads the texture's own array through a surface made over it, and
    // writes it as 24-bit blue, green, red.
    SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(
        (void*)pixels, side, side, 32, side * 4, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    if (!surface)
        return SDL_GetError();
    return saveSurface(surface, file);
}

namespace {

// Stores a 16- or 32-bit value little-endian, as BMP headers hold them.
uint8_t* putLittleEndian(uint8_t* out, uint32_t value, int32_t bytes)
{
    for (int32_t i = 0; i < bytes; ++i)
        *out++ = (uint8_t)(value >> (8 * i));
    return out;
}

// Writes the BMP a row at a time without SDL, each pixel reduced to 8 bits
// per channel (see reducedPixel), each row told to `rowsWritten` (if set)
// once written.
template <class P>
const char* writeBmpRows(
    const P* pixels, int32_t side, FILE* file, RowsWritten rowsWritten, void* context)
{
    // The header SDL writes for a 24-bit surface: a file header and a
    // 40-byte info header, no palette, no resolution, rows of whole pixels
    // (a side is a multiple of 4, so no row needs padding).
    const uint32_t imageBytes = (uint32_t)pixelCount(side) * 3;
    uint8_t header[54];
    uint8_t* out = header;
    *out++ = 'B';
    *out++ = 'M';
    out = putLittleEndian(out, 54 + imageBytes, 4);
    out = putLittleEndian(out, 0, 4); // reserved
    out = putLittleEndian(out, 54, 4); // where the pixels begin
    out = putLittleEndian(out, 40, 4); // the info header's size
    out = putLittleEndian(out, (uint32_t)side, 4);
    out = putLittleEndian(out, (uint32_t)side, 4); // positive: bottom row first
    out = putLittleEndian(out, 1, 2); // planes
    out = putLittleEndian(out, 24, 2); // bits per pixel
    out = putLittleEndian(out, 0, 4); // no compression
    out = putLittleEndian(out, imageBytes, 4);
    for (int32_t field = 0; field < 4; ++field) // resolution and colour counts
        out = putLittleEndian(out, 0, 4);
    uint8_t* row = (uint8_t*)malloc((size_t)side * 3);
    if (!row)
        return strerror(ENOMEM);
    errno = 0;
    bool written = fwrite(header, sizeof header, 1, file) == 1;
    for (int32_t y = side - 1; y >= 0 && written; --y) {
        const P* source = pixels + (size_t)y * side;
        uint8_t* target = row;
        for (int32_t x = 0; x < side; ++x, ++source) {
            Pixel pixel = reducedPixel(*source);
            *target++ = (uint8_t)pixel;
            *target++ = (uint8_t)(pixel >> 8);
            *target++ = (uint8_t)(pixel >> 16);
        }
        written = fwrite(row, (size_t)side * 3, 1, file) == 1;
        if (written && rowsWritten)
            rowsWritten(context, side - y);
    }
    free(row);
    return written ? nullptr : strerror(errno ? errno : EIO);
}

} // namespace

const char* writeTextureBmpDirectly(const Pixel* pixels, int32_t side, FILE* file)
{
    return writeBmpRows(pixels, side, file, nullptr, nullptr);
}

const char* writeDeepTextureBmp(const DeepPixel* pixels, int32_t side, FILE* file)
{
    return writeBmpRows(pixels, side, file, nullptr, nullptr);
}

const char* writeTextureBmpData(const void* image, FILE* file)
{
    const TextureImage& texture = *(const TextureImage*)image;
    // Past the window's side, SDL would first convert the whole picture, a
    // copy that takes a second at 8192 with no row written to show for it.
    if (texture.side > TEXTURE_SIZE)
        return writeBmpRows(
            texture.pixels, texture.side, file, texture.rowsWritten, texture.context);
    const char* failure = writeTextureBmp(texture.pixels, texture.side, file);
    if (!failure && texture.rowsWritten)
        texture.rowsWritten(texture.context, texture.side);
    return failure;
}

const char* writeDeepTextureBmpData(const void* image, FILE* file)
{
    const DeepTextureImage& texture = *(const DeepTextureImage*)image;
    return writeBmpRows(texture.pixels, texture.side, file, texture.rowsWritten, texture.context);
}

bool saveTextureBmp(const Pixel* pixels, int32_t side, const char* fileName)
{
    TextureImage image { pixels, side };
    return saveFile(fileName, REPLACE_EXISTING, writeTextureBmpData, &image) == SAVED;
}
