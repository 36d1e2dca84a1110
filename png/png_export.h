// Writes a texture to a PNG file: through libpng at the window's side, in
// bands compressed on every thread above it (see png/png_bands.h).
#pragma once

#include <cstdio>

#include "gfx/canvas.h"
#include "io/save_file.h"
#include "png/png_encoding.h"
#include "texture/texture_image.h"

// Writes the pixel array of side `side` to `fileName` as an 8-bit RGB PNG without
// alpha; the top byte of every pixel is ignored. Like the BMP export, the file
// is written under a temporary name and renamed into place once complete; on
// failure prints one line on stderr naming the file and the reason, and
// returns false.
bool saveTexturePng(const Pixel* pixels, int32_t side, const char* fileName);

// Writes the image into an open file as a PNG of `image.bits` bits per
// sample. With 8, red, green and blue, a DeepPixel's channels reduced (see
// reducedPixel). With 16, big-endian samples: one per pixel when every
// pixel is grey (red, green and blue alike), else red, green and blue. The
// bits above a pixel's colour are ignored, but for PNG_PACKED_WITH_ALPHA,
// whose PNG holds them as alpha after the three. Above the window's side the
// picture it shows chooses how it is compressed (see png_encoding.h).
// Returns null, or the reason it failed, which stays valid until the next
// call; the file stays open.
template <class P>
const char* writeTexturePng(
    const TextureImage<P>& image, FILE* file, PngPicture picture = PNG_COLORS);

// writeTexturePng of colours as a FileWriter: `image` is a TextureImage<P>,
// told of each row as it is encoded.
template <class P> const char* writeTexturePngData(const void* image, FILE* file);

// The same FileWriter for a PNG that shows `picture`.
template <class P> FileWriter pngWriterOf(PngPicture picture);
