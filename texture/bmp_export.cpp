#include "texture/bmp_export.h"

#include <SDL.h>
#include <cerrno>
#include <cstring>

#include "texture/texture.h"

const char* writeTextureBmp(const Pixel* pixels, FILE* file)
{
    // SDL reads the texture's own array through a surface made over it.
    SDL_Surface* surface = SDL_CreateRGBSurfaceFrom((void*)pixels, TEXTURE_SIZE, TEXTURE_SIZE, 32,
        TEXTURE_SIZE * 4, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    if (!surface)
        return SDL_GetError();
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

const char* writeTextureBmpData(const void* pixels, FILE* file)
{
    return writeTextureBmp((const Pixel*)pixels, file);
}

bool saveTextureBmp(const Pixel* pixels, const char* fileName)
{
    return saveFile(fileName, REPLACE_EXISTING, writeTextureBmpData, pixels) == SAVED;
}
