#include "texture/bmp_export.h"

#include <SDL.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "texture/texture.h"

namespace {

void reportSaveFailure(const char* fileName, const char* reason)
{
    fprintf(stderr, "Could not save %s: %s\n", fileName, reason);
}

// The permission bits a file created with fopen would get under the umask.
mode_t newFileMode()
{
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Writes the pixels as BMP into an open file; returns the reason on failure.
const char* writeBmp(const Pixel* pixels, FILE* file)
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
    // SDL does not see errors of the last buffered write; ask the file.
    if (fflush(file) != 0 || ferror(file) || fsync(fileno(file)) != 0)
        return strerror(errno ? errno : EIO);
    return nullptr;
}

} // namespace

bool saveTextureBmp(const Pixel* pixels, const char* fileName)
{
    char tempName[4096];
    int length = snprintf(tempName, sizeof tempName, "%s.XXXXXX", fileName);
    if (length < 0 || (size_t)length >= sizeof tempName) {
        reportSaveFailure(fileName, strerror(ENAMETOOLONG));
        return false;
    }
    int descriptor = mkstemp(tempName);
    if (descriptor < 0) {
        reportSaveFailure(fileName, strerror(errno));
        return false;
    }
    fchmod(descriptor, newFileMode());
    FILE* file = fdopen(descriptor, "wb");
    if (!file) {
        reportSaveFailure(fileName, strerror(errno));
        close(descriptor);
        unlink(tempName);
        return false;
    }

    const char* failure = writeBmp(pixels, file);
    if (fclose(file) != 0 && !failure)
        failure = strerror(errno);
    // rename replaces a symlink named fileName itself, never its target.
    if (!failure && rename(tempName, fileName) != 0)
        failure = strerror(errno);
    if (failure) {
        reportSaveFailure(fileName, failure);
        unlink(tempName);
        return false;
    }
    return true;
}
