#include "texture/texture.h"

#include <cstdlib>
#include <cstring>

Texture::Texture(int32_t width, int32_t height)
    : width(width)
    , height(height)
    , pixels(nullptr)
{
    if (width <= 0 || height <= 0)
        return;
    size_t count = (size_t)width * (size_t)height;
    pixels = (Pixel*)malloc(count * sizeof(Pixel));
    if (!pixels)
        return;
    for (Pixel *pixel = pixels, *end = pixels + count; pixel < end; ++pixel)
        *pixel = EMPTY_PIXEL;
}

Texture::~Texture()
{
    free(pixels);
}

void Texture::blit(Canvas canvas, int32_t x, int32_t y) const
{
    if (!pixels)
        return;
    // Greater-or-equal on purpose: a texture touching the right or bottom
    // edge of the canvas is not drawn.
    if (x < 0 || x + width >= canvas.width || y < 0 || y + height >= canvas.height)
        return;
    const Pixel* row = pixels;
    Pixel* target = canvas.pixels + (intptr_t)y * canvas.pitch + x;
    for (int32_t r = 0; r < height; ++r, row += width, target += canvas.pitch)
        memcpy(target, row, (size_t)width * sizeof(Pixel));
}
