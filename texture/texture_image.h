// A texture as a writer of files takes it, the BMP export and the PNG
// export alike: its pixels, side and the bits per channel the file is to
// hold, and whom to tell of the rows written.
#pragma once

#include <cstdint>

#include "texture/depth.h"

// Told by a writer of files how many of the picture's rows it has written.
typedef void (*RowsWritten)(void* context, int32_t rows);

// A square texture's pixels of type P with their side, as a writer of files
// takes them, and the bits per channel the file is to give them: 8 (a
// DeepPixel's channels reduced, see reducedLevel) or 16 (a Pixel's levels
// times 257). The writer calls `rowsWritten`, if set, as its rows go out,
// so a long write can show how far it has got.
template <class P> struct TextureImage {
    const P* pixels;
    int32_t side;
    int32_t bits = Depth<P>::BITS;
    RowsWritten rowsWritten = nullptr;
    void* context = nullptr;
};

// The image of `side` x `side` pixels, written with `bits` bits per channel.
template <class P>
TextureImage<P> imageOf(const P* pixels, int32_t side, int32_t bits = Depth<P>::BITS)
{
    return TextureImage<P> { pixels, side, bits };
}
