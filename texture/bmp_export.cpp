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

template <class P> const char* writeTextureBmpData(const void* texture, FILE* file)
{
    const TextureImage<P>& image = *(const TextureImage<P>*)texture;
    // The window's textures go through SDL. Past the window's side, SDL
    // would first convert the whole picture, a copy that takes a second at
    // 8192 with no row written to show for it; 16-bit textures would need a
    // reduced copy.
    if constexpr (Depth<P>::BITS == 8) {
        if (image.side <= TEXTURE_SIZE) {
            const char* failure = writeTextureBmp(image.pixels, image.side, file);
            if (!failure && image.rowsWritten)
                image.rowsWritten(image.context, image.side);
            return failure;
        }
    }
    return writeBmpRows(image.pixels, image.side, file, image.rowsWritten, image.context);
}

// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_BMP_WRITERS(P) template const char* writeTextureBmpData<P>(const void*, FILE*);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_BMP_WRITERS)

bool saveTextureBmp(const Pixel* pixels, int32_t side, const char* fileName)
{
    const TextureImage<Pixel> image = imageOf(pixels, side);
    return saveFile(fileName, REPLACE_EXISTING, writeTextureBmpData<Pixel>, &image) == SAVED;
}
