#include "png/png_export.h"

#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <png.h>

#include "io/save_file.h"
#include "png/png_bands.h"
#include "texture/texture.h"

namespace {

// What a PNG is made of: the image, whether it is written as grey, and
// what it shows.
template <class P> struct PngSource {
    const TextureImage<P>& image;
    bool grey; // one sample per pixel
    PngPicture picture;
    bool alpha; // a fourth sample, from the bits above the colour
};

// Bytes in one row of the PNG's samples.
template <class P> size_t rowBytes(const PngSource<P>& source)
{
    return (size_t)source.image.side
        * (source.grey         ? 1
                : source.alpha ? 4
                               : 3)
        * (source.image.bits / 8);
}

// The level above a pixel's colour, its alpha, in 8 bits.
inline uint32_t eightBitAlpha(Pixel pixel)
{
    return channelOf(pixel, 3);
}
inline uint32_t eightBitAlpha(DeepPixel pixel)
{
    return reducedLevel(channelOf(pixel, 3));
}

// Puts a row of pixels of either depth as 8-bit red, green and blue, and
// alpha if asked.
template <class P> void putEightBitRow(const P* pixel, int32_t side, bool alpha, png_byte* target)
{
    for (int32_t x = 0; x < side; ++x, ++pixel) {
        Pixel eightBit = reducedPixel(*pixel);
        *target++ = (png_byte)(eightBit >> 16);
        *target++ = (png_byte)(eightBit >> 8);
        *target++ = (png_byte)eightBit;
        if (alpha)
            *target++ = (png_byte)eightBitAlpha(*pixel);
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
template <class P> void fillRow(const void* data, int32_t y, uint8_t* row)
{
    const PngSource<P>& source = *(const PngSource<P>*)data;
    const int32_t side = source.image.side;
    const P* pixel = source.image.pixels + (size_t)y * side;
    if (source.image.bits == 8) {
        putEightBitRow(pixel, side, source.alpha, row);
        return;
    }
    // A level 0..MAX on the 16-bit scale: an 8-bit level c is c * 257.
    const uint32_t scale = 65535 / Depth<P>::MAX;
    png_byte* target = row;
    for (int32_t x = 0; x < side; ++x, ++pixel) {
        if (source.grey) {
            target = putLevel(target, channelOf(*pixel, 0) * scale);
            continue;
        }
        target = putLevel(target, channelOf(*pixel, 2) * scale);
        target = putLevel(target, channelOf(*pixel, 1) * scale);
        target = putLevel(target, channelOf(*pixel, 0) * scale);
        if (source.alpha)
            target = putLevel(target, channelOf(*pixel, 3) * scale);
    }
}

// True when every pixel's red, green and blue are alike.
template <class P> bool allGrey(const P* pixels, int32_t side)
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
template <class P>
void writeImage(
    png_structp png, png_infop info, const PngSource<P>& source, png_byte* row, FILE* file)
{
    const TextureImage<P>& image = source.image;
    png_init_io(png, file);
    png_set_IHDR(png, info, (png_uint_32)image.side, (png_uint_32)image.side, image.bits,
        source.grey        ? PNG_COLOR_TYPE_GRAY
            : source.alpha ? PNG_COLOR_TYPE_RGB_ALPHA
                           : PNG_COLOR_TYPE_RGB,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < image.side; ++y) {
        fillRow<P>(&source, y, row);
        png_write_row(png, row);
        if (image.rowsWritten)
            image.rowsWritten(image.context, y + 1);
    }
    png_write_end(png, info);
}

// Writes the PNG of `source` into an open file; null, or the reason it failed.
// The window's side keeps libpng's defaults, so its files stay as they
// always were; larger sides are compressed in bands on every thread.
template <class P> const char* writePng(const PngSource<P>& source, FILE* file)
{
    const TextureImage<P>& image = source.image;
    if (image.side > TEXTURE_SIZE) {
        const BandedPng png { image.side, image.bits, source.grey, fillRow<P>, &source,
            image.rowsWritten, image.context, source.alpha };
        return writeBandedPng(png, chosenPngEncoding(source.picture, image.bits), file);
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

template <class P>
const char* writeTexturePng(const TextureImage<P>& image, FILE* file, PngPicture picture)
{
    const bool alpha = picture == PNG_PACKED_WITH_ALPHA;
    const bool grey = !alpha && image.bits == 16 && allGrey(image.pixels, image.side);
    return writePng(PngSource<P> { image, grey, picture, alpha }, file);
}

namespace {

// writeTexturePng of one picture as a FileWriter.
template <class P, PngPicture PICTURE> const char* writePictureData(const void* image, FILE* file)
{
    return writeTexturePng(*(const TextureImage<P>*)image, file, PICTURE);
}

} // namespace

template <class P> const char* writeTexturePngData(const void* image, FILE* file)
{
    return writePictureData<P, PNG_COLORS>(image, file);
}

template <class P> FileWriter pngWriterOf(PngPicture picture)
{
    switch (picture) {
    case PNG_HEIGHTS:
        return writePictureData<P, PNG_HEIGHTS>;
    case PNG_NORMAL_MAP:
        return writePictureData<P, PNG_NORMAL_MAP>;
    case PNG_PACKED:
        return writePictureData<P, PNG_PACKED>;
    case PNG_PACKED_WITH_ALPHA:
        return writePictureData<P, PNG_PACKED_WITH_ALPHA>;
    case PNG_COLORS:
        break;
    }
    return writePictureData<P, PNG_COLORS>;
}

// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_PNG_WRITERS(P)                                                                     \
    template const char* writeTexturePng(const TextureImage<P>&, FILE*, PngPicture);               \
    template const char* writeTexturePngData<P>(const void*, FILE*);                               \
    template FileWriter pngWriterOf<P>(PngPicture);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_PNG_WRITERS)

bool saveTexturePng(const Pixel* pixels, int32_t side, const char* fileName)
{
    const TextureImage<Pixel> image = imageOf(pixels, side);
    return saveFile(fileName, REPLACE_EXISTING, writeTexturePngData<Pixel>, &image) == SAVED;
}
