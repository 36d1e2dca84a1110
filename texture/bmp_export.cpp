#include "texture/bmp_export.h"

#include <SDL.h>
#include <cerrno>
#include <cstring>

namespace {

// SDL 1.2 keeps a surface's row pitch in 16 bits.
const int32_t MAX_SURFACE_PITCH = 65535;

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
    if (side * 4 > MAX_SURFACE_PITCH)
        return writeTextureBmpFromCopy(pixels, side, file);
    // SDL reads the texture's own array through a surface made over it, and
    // writes it as 24-bit blue, green, red.
    SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(
        (void*)pixels, side, side, 32, side * 4, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    if (!surface)
        return SDL_GetError();
    return saveSurface(surface, file);
}

const char* writeTextureBmpFromCopy(const Pixel* pixels, int32_t side, FILE* file)
{
    // A 24-bit surface with these masks is what SDL itself would convert the
    // pixels to, and it writes such a surface as it is.
    SDL_Surface* surface = SDL_CreateRGBSurface(
        SDL_SWSURFACE, side, side, 24, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    if (!surface)
        return SDL_GetError();
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) < 0) {
        SDL_FreeSurface(surface);
        return SDL_GetError();
    }
    const Pixel* source = pixels;
    for (int32_t y = 0; y < side; ++y) {
        uint8_t* out = (uint8_t*)surface->pixels + (size_t)y * surface->pitch;
        for (int32_t x = 0; x < side; ++x, ++source) {
            *out++ = (uint8_t)*source;
            *out++ = (uint8_t)(*source >> 8);
            *out++ = (uint8_t)(*source >> 16);
        }
    }
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    return saveSurface(surface, file);
}

const char* writeTextureBmpData(const void* image, FILE* file)
{
    const TextureImage* texture = (const TextureImage*)image;
    return writeTextureBmp(texture->pixels, texture->side, file);
}

bool saveTextureBmp(const Pixel* pixels, int32_t side, const char* fileName)
{
    TextureImage image { pixels, side };
    return saveFile(fileName, REPLACE_EXISTING, writeTextureBmpData, &image) == SAVED;
}
