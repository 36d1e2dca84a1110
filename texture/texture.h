// The image held by one slot: a width x height array of pixels, 256 x 256
// in the window. Every texture operation works on a raw pixel array of a
// square texture and takes its side with it.
#pragma once

#include <cstddef>

#include "gfx/canvas.h"
#include "texture/depth.h"

// Side of the window's textures.
const int32_t TEXTURE_SIZE = 256;
const int32_t TEXTURE_PIXEL_COUNT = TEXTURE_SIZE * TEXTURE_SIZE;

// The sides an operation takes: powers of two from the window's 256 to
// 16384. A texture of side N is the window's texture with k = N / 256 times
// the detail: pixel (x, y) at index y * N + x, coordinates wrapping modulo N,
// and every length an operation is given (a size, a shift, a radius) taken k
// times, so the picture is the same at every side.
const int32_t MIN_TEXTURE_SIDE = TEXTURE_SIZE;
const int32_t MAX_TEXTURE_SIDE = 16384;

// True for a side an operation can take.
inline bool isTextureSide(int64_t side)
{
    return side >= MIN_TEXTURE_SIDE && side <= MAX_TEXTURE_SIDE && (side & (side - 1)) == 0;
}

// How many times the window's side fits in `side`; at least 1.
inline int32_t sideScale(int32_t side)
{
    return side > TEXTURE_SIZE ? side / TEXTURE_SIZE : 1;
}

// Pixels in a texture of that side.
inline size_t pixelCount(int32_t side)
{
    return (size_t)side * (size_t)side;
}

class Texture {
public:
    // Allocates width x height cells, each EMPTY_PIXEL. If the allocation
    // fails, getPixels() returns null and the caller must not use the texture.
    Texture(int32_t width, int32_t height);
    ~Texture();

    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    Pixel* getPixels() { return pixels; }
    const Pixel* getPixels() const { return pixels; }
    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }

    // Copies the whole texture onto the canvas with its top-left corner at
    // (x, y), or draws nothing unless at least one column stays free to its
    // right and one row below it.
    void blit(Canvas canvas, int32_t x, int32_t y) const;

private:
    int32_t width;
    int32_t height;
    Pixel* pixels;
};
