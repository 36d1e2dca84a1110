#include "texture/png_export.h"

#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <png.h>

#include "io/save_file.h"
#include "texture/png_bands.h"
#include "texture/texture.h"

namespace {

// What a PNG is made of: a texture at either depth and the samples to write.
struct PngSource {
    const Pixel* pixels; // an 8-bit texture, or null for `deepPixels`
    const DeepPixel* deepPixels;
    int32_t side;
    int32_t bits; // per sample: 8, or 16 from `deepPixels`
    bool grey; // one sample per pixel
    RowsWritten rowsWritten; // told each row once it is written, if set
    void* context;
    bool normalMap; // compressed as a normal map
};

// Bytes in one row of the PNG's samples.
size_t rowBytes(const PngSource& source)
{
    return (size_t)source.side * (source.grey ? 1 : 3) * (source.bits / 8);
}

// Puts a row of pixels of either depth as 8-bit red, green and blue.
template <class P> void putEightBitRow(const P* pixel, int32_t side, png_byte* target)
{
    for (int32_t x = 0; x < side; ++x, ++pixel) {
        Pixel eightBit = reducedPixel(*pixel);
        *target++ = (png_byte)(eightBit >> 16);
        *target++ = (png_byte)(eightBit >> 8);
        *target++ = (png_byte)eightBit;
    }
}

// Puts a 16-bit level as PNG keeps it, high byte first.
png_byte* putLevel(png_byte* target, uint32_t level)
{
    *target++ = (png_byte)(level >> 8);
    *target++ = (png_byte)level;
    return target;
}

// Fills `row` with the samples of the texture's row `y`; a FillPngRow over
// a PngSource, so the band writer's threads can call it too.
void fillRow(const void* image, int32_t y, uint8_t* row)
{
    const PngSource& source = *(const PngSource*)image;
    const size_t start = (size_t)y * source.side;
    if (source.pixels) {
        putEightBitRow(source.pixels + start, source.side, row);
        return;
    }
    const DeepPixel* pixel = source.deepPixels + start;
    if (source.bits == 8) {
        putEightBitRow(pixel, source.side, row);
        return;
    }
    png_byte* target = row;
    for (int32_t x = 0; x < source.side; ++x, ++pixel) {
        if (source.grey) {
            target = putLevel(target, channelOf(*pixel, 0));
            continue;
        }
        target = putLevel(target, channelOf(*pixel, 2));
        target = putLevel(target, channelOf(*pixel, 1));
        target = putLevel(target, channelOf(*pixel, 0));
    }
}

// True when every pixel's red, green and blue are alike.
bool allGrey(const DeepPixel* pixels, int32_t side)
{
    const size_t count = pixelCount(side);
    for (size_t i = 0; i < count; ++i) {
        uint32_t blue = channelOf(pixels[i], 0);
        if (channelOf(pixels[i], 1) != blue || channelOf(pixels[i], 2) != blue)
            return false;
    }
    return true;
}

// libpng's last error message, kept for the caller's report.
char pngErrorMessage[256];

// libpng must not return from an error: keep the message and jump back to
// the setjmp in writePng.
void onPngError(png_structp png, png_const_charp message)
{
    snprintf(pngErrorMessage, sizeof pngErrorMessage, "%s", message);
    png_longjmp(png, 1);
}

// Warnings do not stop a save and are not shown.
void onPngWarning(png_structp, png_const_charp)
{
}

// Encodes the image through a row buffer of rowBytes(source). Runs below the
// setjmp, so it must own nothing that needs cleaning up when libpng jumps out
// of it: the caller owns the row.
void writeImage(png_structp png, png_infop info, const PngSource& source, png_byte* row, FILE* file)
{
    png_init_io(png, file);
    png_set_IHDR(png, info, (png_uint_32)source.side, (png_uint_32)source.side, source.bits,
        source.grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < source.side; ++y) {
        fillRow(&source, y, row);
        png_write_row(png, row);
        if (source.rowsWritten)
            source.rowsWritten(source.context, y + 1);
    }
    png_write_end(png, info);
}

// Writes the PNG of `source` into an open file; null, or the reason it failed.
// The window's side keeps libpng's defaults, so its files stay as they
// always were; larger sides are compressed in bands on every thread.
const char* writePng(const PngSource& source, FILE* file)
{
    if (source.side > TEXTURE_SIZE) {
        const BandedPng png { source.side, source.bits, source.grey, fillRow, &source,
            source.rowsWritten, source.context };
        return writeBandedPng(
            png, chosenPngEncoding(source.bits, source.grey, source.normalMap), file);
    }
    png_byte* row = (png_byte*)malloc(rowBytes(source));
    if (!row)
        return strerror(ENOMEM);
    png_structp png
        = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (!png) {
        free(row);
        return strerror(ENOMEM);
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        free(row);
        return strerror(ENOMEM);
    }
    const char* failure = nullptr;
    errno = 0;
    if (setjmp(png_jmpbuf(png)) != 0) {
        // libpng says only "Write Error" where the system knows why.
        failure = errno ? strerror(errno) : pngErrorMessage;
    } else {
        writeImage(png, info, source, row, file);
    }
    png_destroy_write_struct(&png, &info);
    free(row);
    return failure;
}

} // namespace

const char* writeTexturePng(const Pixel* pixels, int32_t side, FILE* file)
{
    const TextureImage image { pixels, side };
    return writeTexturePngData(&image, file);
}

const char* writeTexturePngData(const void* image, FILE* file)
{
    const TextureImage& texture = *(const TextureImage*)image;
    return writePng(PngSource { texture.pixels, nullptr, texture.side, 8, false,
                        texture.rowsWritten, texture.context, texture.normalMap },
        file);
}

const char* writeDeepTexturePng(const DeepPixel* pixels, int32_t side, int32_t bits, FILE* file)
{
    const DeepTextureImage image { pixels, side, bits };
    return writeDeepTexturePngData(&image, file);
}

const char* writeDeepTexturePngData(const void* image, FILE* file)
{
    const DeepTextureImage& texture = *(const DeepTextureImage*)image;
    const bool sixteen = texture.bits == 16;
    const bool grey = sixteen && allGrey(texture.pixels, texture.side);
    return writePng(PngSource { nullptr, texture.pixels, texture.side, sixteen ? 16 : 8, grey,
                        texture.rowsWritten, texture.context, texture.normalMap },
        file);
}

bool saveTexturePng(const Pixel* pixels, int32_t side, const char* fileName)
{
    TextureImage image { pixels, side };
    return saveFile(fileName, REPLACE_EXISTING, writeTexturePngData, &image) == SAVED;
}
