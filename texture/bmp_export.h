// Writes a texture to a BMP file. The only part of the engine that talks to SDL.
#pragma once

#include <cstdio>

#include "gfx/canvas.h"
#include "io/save_file.h"
#include "texture/texture.h"
#include "texture/texture_image.h"

// Writes the pixel array of side `side` to `fileName` as a 24-bit BMP; the
// top byte of every pixel is ignored. The file is written under a temporary
// name in the same directory and renamed over `fileName` only once it is
// complete, so a failed save leaves the previous file as it was and no
// partial file behind. On failure prints one line on stderr naming the file
// and the reason, and returns false.
bool saveTextureBmp(const Pixel* pixels, int32_t side, const char* fileName);

// Writes the same BMP into an open file, for a caller that places the file
// itself. Returns null, or the reason it failed; the file stays open and
// unflushed.
const char* writeTextureBmp(const Pixel* pixels, int32_t side, FILE* file);

// The same BMP written a row at a time without SDL, the way writeTextureBmp
// writes sides SDL 1.2 cannot take (a surface under 16384 pixels wide, with
// a row pitch of 16 bits). Both ways give the same bytes.
const char* writeTextureBmpDirectly(const Pixel* pixels, int32_t side, FILE* file);

// A texture's BMP as a FileWriter, for saving it in a group of files with
// saveFiles: `texture` is a TextureImage<P>, whose bits are 8. The window's
// side of Pixels goes through SDL and is told as written once done; larger
// sides and 16-bit textures are written a row at a time, each pixel reduced
// to 8 bits per channel (see reducedPixel) and each row told as it goes
// out, so a long write shows how far it has got and no reduced copy of the
// whole texture is made.
template <class P> const char* writeTextureBmpData(const void* texture, FILE* file);
