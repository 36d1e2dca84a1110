// The level types a texture can hold, and what an operation needs to know
// of each. The window's textures hold 8 bits per channel in a Pixel
// (0x00RRGGBB); deep renders hold 16 bits per channel in a DeepPixel
// (0x0000RRRRGGGGBBBB). Every operation is written once over these traits
// and takes its pixels as either type, as it takes their side.
#pragma once

#include <cstdint>
#include <tuple>

#include "gfx/canvas.h"

// A colour with 16 bits per channel: blue in bits 0-15, green in 16-31, red
// in 32-47. The top 16 bits hold no colour, as the top byte of a Pixel.
typedef uint64_t DeepPixel;

// Marks a cell that holds no colour yet. Bit 31 keeps it apart from every
// 0x00RRGGBB colour; shown or saved, only the low 24 bits count, so it is black.
const Pixel EMPTY_PIXEL = 0x80000000u;

template <class P> struct Depth;

template <> struct Depth<Pixel> {
    static constexpr uint32_t BITS = 8; // per channel
    static constexpr uint32_t BYTES = sizeof(Pixel); // a texture's memory per pixel
    static constexpr uint32_t MAX = 255; // the largest level
    // A level or component given on the 0..255 scale counts UNIT times as
    // much: MAX / 255.
    static constexpr uint32_t UNIT = 1;
    static constexpr Pixel GREY = 0x010101u; // level * GREY is that grey
    static constexpr Pixel COLOR_BITS = 0xFFFFFFu;
    static constexpr Pixel EMPTY = EMPTY_PIXEL; // a cell that holds no colour yet
};

template <> struct Depth<DeepPixel> {
    static constexpr uint32_t BITS = 16;
    static constexpr uint32_t BYTES = sizeof(DeepPixel);
    static constexpr uint32_t MAX = 65535;
    static constexpr uint32_t UNIT = 257;
    static constexpr DeepPixel GREY = 0x000100010001ull;
    static constexpr DeepPixel COLOR_BITS = 0xFFFFFFFFFFFFull;
    static constexpr DeepPixel EMPTY = (DeepPixel)EMPTY_PIXEL << 32; // the same top bit
};

// Every pixel type, the one list of them: a new depth is a Depth<> above
// and a name here. `X` is given each type's name, so that a file that
// defines operations over the traits instantiates them for every type with
// one line; the choices below are made from the same list.
#define QUILTOR_FOR_EACH_PIXEL_TYPE(X) X(Pixel) X(DeepPixel)

// The pixel types as a list of types.
template <class... P> struct PixelTypeList {
};
template <class Ignored, class... P> struct PixelTypesAfter {
    typedef PixelTypeList<P...> List;
};
// Each name after a comma, so the list follows a first type that is dropped.
// The argument is a type, which cannot stand in parentheses.
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define QUILTOR_COMMA_AND(P) , P
typedef PixelTypesAfter<void QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_COMMA_AND)>::List PixelTypes;
#undef QUILTOR_COMMA_AND

// A T<P> for every pixel type, where one of them is to be kept:
// std::get<T<P>> picks P's.
template <template <class> class T, class List> struct OnePerType;
template <template <class> class T, class... P> struct OnePerType<T, PixelTypeList<P...>> {
    typedef std::tuple<T<P>...> Tuple;
};
template <template <class> class T>
using OnePerPixelType = typename OnePerType<T, PixelTypes>::Tuple;

// withPixelType's search: the first of the listed types with `bits` bits
// per channel, else the window's Pixel.
template <class Use> auto withPixelTypeAmong(int32_t, const Use& use, PixelTypeList<>)
{
    return use(Pixel {});
}
template <class Use, class P, class... Rest>
auto withPixelTypeAmong(int32_t bits, const Use& use, PixelTypeList<P, Rest...>)
{
    if (bits == (int32_t)Depth<P>::BITS)
        return use(P {});
    return withPixelTypeAmong(bits, use, PixelTypeList<Rest...> {});
}

// Calls `use` with a pixel (zero) of the type that holds `bits` bits per
// channel, the window's Pixel for any other number, and returns what it
// returns. Code outside the engine turns a depth into a type here and
// nowhere else:
//   withPixelType(depth, [&](auto zero) { using P = decltype(zero); ... });
template <class Use> auto withPixelType(int32_t bits, const Use& use)
{
    return withPixelTypeAmong(bits, use, PixelTypes {});
}

// Channel `index` of a pixel: 0 blue, 1 green, 2 red; 0..MAX.
template <class P> inline uint32_t channelOf(P pixel, uint32_t index)
{
    return (uint32_t)(pixel >> (Depth<P>::BITS * index)) & Depth<P>::MAX;
}

// Composes a pixel from three levels; the parts are added, as composeColor
// adds them, so levels outside 0..MAX (no operation makes them) wrap
// instead of overflowing.
template <class P> inline P composeLevels(uint64_t red, uint64_t green, uint64_t blue)
{
    return (P)(((P)red << (2 * Depth<P>::BITS)) + ((P)green << Depth<P>::BITS) + (P)blue);
}

// The grey of a level 0..MAX.
template <class P> inline P greyOf(uint64_t level)
{
    return (P)((P)level * Depth<P>::GREY);
}

// A 16-bit level 0..65535 as the nearest 8-bit level, (level * 255 + 32767)
// / 65535: the level c * 257 gives back c.
inline uint32_t reducedLevel(uint32_t level)
{
    return (level * 255 + 32767) / 65535;
}

// A pixel with 8 bits per channel, as the files written with 8 bits hold:
// a Pixel as it is, a DeepPixel with each channel reduced by reducedLevel.
inline Pixel reducedPixel(Pixel pixel)
{
    return pixel;
}
inline Pixel reducedPixel(DeepPixel pixel)
{
    return composeLevels<Pixel>(reducedLevel(channelOf(pixel, 2)),
        reducedLevel(channelOf(pixel, 1)), reducedLevel(channelOf(pixel, 0)));
}
