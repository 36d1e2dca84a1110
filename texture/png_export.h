// Writes a texture to a PNG file: through libpng at the window's side, in
// bands compressed on every thread above it (see texture/png_bands.h).
#pragma once

#include <cstdio>

#include "gfx/canvas.h"
#include "texture/texture.h"

// Writes the pixel array of side `side` to `fileName` as an 8-bit RGB PNG without
// alpha; the top byte of every pixel is ignored. Like the BMP export, the file
// is written under a temporary name and renamed into place once complete; on
// failure prints one line on stderr naming the file and the reason, and
// returns false.
bool saveTexturePng(const Pixel* pixels, int32_t side, const char* fileName);

// Writes the same PNG into an open file. Returns null, or the reason it
// failed, which stays valid until the next call; the file stays open.
const char* writeTexturePng(const Pixel* pixels, int32_t side, FILE* file);

// writeTexturePng as a FileWriter: `image` is a TextureImage, told of each
// row as it is encoded.
const char* writeTexturePngData(const void* image, FILE* file);

// Writes a 16-bit texture into an open file as a PNG of `bits` bits per
// sample. With 8, the bytes writeTexturePng gives for its pixels reduced
// (see reducedPixel). With 16, big-endian samples: one per pixel when every
// pixel is grey (red, green and blue alike), else red, green and blue.
// The top 16 bits of every pixel are ignored. Returns as writeTexturePng.
const char* writeDeepTexturePng(const DeepPixel* pixels, int32_t side, int32_t bits, FILE* file);

// writeDeepTexturePng as a FileWriter: `image` is a DeepTextureImage.
const char* writeDeepTexturePngData(const void* image, FILE* file);
