// Writes a texture to a BMP file. The only part of the engine that talks to SDL.
#pragma once

#include <cstdio>

#include "gfx/canvas.h"
#include "io/save_file.h"

// Writes the 256 x 256 pixel array to `fileName` as a 24-bit BMP; the top
// byte of every pixel is ignored. The file is written under a temporary name
// in the same directory and renamed over `fileName` only once it is complete,
// so a failed save leaves the previous file as it was and no partial file
// behind. On failure prints one line on stderr naming the file and the reason,
// and returns false.
bool saveTextureBmp(const Pixel* pixels, const char* fileName);

// Writes the same BMP into an open file, for a caller that places the file
// itself. Returns null, or the reason it failed; the file stays open and
// unflushed.
const char* writeTextureBmp(const Pixel* pixels, FILE* file);

// writeTextureBmp as a FileWriter, for saving a texture in a group of files
// with saveFiles: `pixels` is the texture's pixel array.
const char* writeTextureBmpData(const void* pixels, FILE* file);
