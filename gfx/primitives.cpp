#include "gfx/primitives.h"

void drawHLine(Canvas canvas, int32_t x, int32_t y, int32_t length, Pixel color)
{
    Pixel* pixel = canvas.pixels + (intptr_t)y * canvas.pitch + x;
    for (Pixel* end = pixel + (length > 0 ? length : 0); pixel < end; ++pixel)
        *pixel = color;
}

void drawVLine(Canvas canvas, int32_t x, int32_t y, int32_t length, Pixel color)
{
    Pixel* pixel = canvas.pixels + (intptr_t)y * canvas.pitch + x;
    for (int32_t i = 0; i < length; ++i, pixel += canvas.pitch)
        *pixel = color;
}

void fillRect(Canvas canvas, int32_t x, int32_t y, int32_t width, int32_t height, Pixel color)
{
    for (int32_t row = 0; row < height; ++row)
        drawHLine(canvas, x, y + row, width, color);
}

Pixel lightShade(Pixel color)
{
    int32_t red = (int32_t)((color >> 16) & 0xFF) + 64;
    int32_t green = (int32_t)((color >> 8) & 0xFF) + 64;
    int32_t blue = (int32_t)(color & 0xFF) + 64;
    return composeColor(red > 255 ? 255 : red, green > 255 ? 255 : green, blue > 255 ? 255 : blue);
}

Pixel darkShade(Pixel color)
{
    int32_t red = (int32_t)((color >> 16) & 0xFF) - 64;
    int32_t green = (int32_t)((color >> 8) & 0xFF) - 64;
    int32_t blue = (int32_t)(color & 0xFF) - 64;
    return composeColor(red < 0 ? 0 : red, green < 0 ? 0 : green, blue < 0 ? 0 : blue);
}

void drawBevel(Canvas canvas, int32_t x, int32_t y, int32_t w, int32_t h, Pixel color)
{
    Pixel light = lightShade(color);
    Pixel dark = darkShade(color);

    // The order matters: later runs overwrite the corners of earlier ones.
    drawHLine(canvas, x, y, w, light);
    drawVLine(canvas, x, y, h, light);
    drawHLine(canvas, x, y + h - 1, w, dark);
    drawVLine(canvas, x + w - 1, y, h, dark);

    drawHLine(canvas, x + 1, y + 1, w - 2, color);
    drawVLine(canvas, x + 1, y + 1, h - 2, color);
    drawHLine(canvas, x + 1, y + h - 2, w - 2, color);
    drawVLine(canvas, x + w - 2, y + 1, h - 2, color);

    drawHLine(canvas, x + 2, y + 2, w - 4, dark);
    drawVLine(canvas, x + 2, y + 2, h - 4, dark);
    drawHLine(canvas, x + 2, y + h - 3, w - 4, light);
    drawVLine(canvas, x + w - 3, y + 2, h - 4, light);
}

void drawFilledPanel(Canvas canvas, int32_t x, int32_t y, int32_t w, int32_t h, Pixel color)
{
    drawBevel(canvas, x, y, w, h, color);
    fillRect(canvas, x + 3, y + 3, w - 6, h - 6, color);
}
