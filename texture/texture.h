// The image held by one slot: a width x height array of pixels, 256 x 256
// throughout this tool. Every texture operation works on the raw pixel array.
#pragma once

#include "gfx/canvas.h"

// Side of every texture the operations work on; coordinates wrap modulo this.
const int32_t TEXTURE_SIZE = 256;
const int32_t TEXTURE_PIXEL_COUNT = TEXTURE_SIZE * TEXTURE_SIZE;

// Marks a cell that holds no colour yet. Bit 31 keeps it apart from every
// 0x00RRGGBB colour; shown or saved, only the low 24 bits count, so it is black.
const Pixel EMPTY_PIXEL = 0x80000000u;

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
