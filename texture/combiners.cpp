#include "texture/combiners.h"

#include <cstring>

#include "texture/parallel.h"
#include "texture/texture.h"

// Every result depends only on the two pixels at the same place, so each
// combiner walks the arrays in memory order, and reading a pixel before
// writing it makes target == source work in place.

namespace {

template <class P> inline uint32_t capped(uint32_t t, uint32_t s)
{
    uint32_t sum = t + s;
    return sum > Depth<P>::MAX ? Depth<P>::MAX : sum;
}

inline uint32_t floored(uint32_t t, uint32_t s)
{
    return t > s ? t - s : 0;
}

inline uint32_t largerOf(uint32_t t, uint32_t s)
{
    return t > s ? t : s;
}

// 16-bit channels are worked on as the lanes of their 64-bit pixel, the top
// lane holding no colour, with each lane's carry or borrow kept from the
// next: a few plain 64-bit operations per pixel that the compiler can also
// run on two pixels at once, where taking the channels apart needs several
// times as many and branches on the data.
const uint64_t LANE_TOPS = 0x8000800080008000ull;

// All ones in the lanes whose top bit `tops` has set, zeros in the others.
inline uint64_t laneMask(uint64_t tops)
{
    uint64_t ones = tops >> 15;
    return (ones << 16) - ones;
}

// Per lane t + s, capped at 0xFFFF.
inline uint64_t addLanes(uint64_t t, uint64_t s)
{
    uint64_t sum = ((t & ~LANE_TOPS) + (s & ~LANE_TOPS)) ^ ((t ^ s) & LANE_TOPS);
    uint64_t carries = ((t & s) | ((t | s) & ~sum)) & LANE_TOPS;
    return sum | laneMask(carries);
}

// Per lane t - s, floored at 0.
inline uint64_t subtractLanes(uint64_t t, uint64_t s)
{
    uint64_t difference = ((t | LANE_TOPS) - (s & ~LANE_TOPS)) ^ ((t ^ ~s) & LANE_TOPS);
    uint64_t borrows = ((~t & s) | (~(t ^ s) & difference)) & LANE_TOPS;
    return difference & ~laneMask(borrows);
}

// Per lane max(t, s): s plus what t has more, which carries into no lane.
inline uint64_t largerLanes(uint64_t t, uint64_t s)
{
    return s + subtractLanes(t, s);
}

// How two pixels' channels are added (capped at MAX), subtracted (floored
// at 0) and compared, channel by channel: the rule for any pixel type.
template <class P> struct ChannelByChannel {
    static P added(P t, P s)
    {
        return composeLevels<P>(capped<P>(channelOf(t, 2), channelOf(s, 2)),
            capped<P>(channelOf(t, 1), channelOf(s, 1)),
            capped<P>(channelOf(t, 0), channelOf(s, 0)));
    }
    static P subtracted(P t, P s)
    {
        return composeLevels<P>(floored(channelOf(t, 2), channelOf(s, 2)),
            floored(channelOf(t, 1), channelOf(s, 1)), floored(channelOf(t, 0), channelOf(s, 0)));
    }
    static P larger(P t, P s)
    {
        return composeLevels<P>(largerOf(channelOf(t, 2), channelOf(s, 2)),
            largerOf(channelOf(t, 1), channelOf(s, 1)), largerOf(channelOf(t, 0), channelOf(s, 0)));
    }
};

// The same results for 16-bit channels, worked as lanes (see above); the
// lanes' carries may reach the top 16 bits, which hold no colour.
struct LaneByLane {
    static DeepPixel added(DeepPixel t, DeepPixel s)
    {
        return addLanes(t, s) & Depth<DeepPixel>::COLOR_BITS;
    }
    static DeepPixel subtracted(DeepPixel t, DeepPixel s)
    {
        return subtractLanes(t, s) & Depth<DeepPixel>::COLOR_BITS;
    }
    static DeepPixel larger(DeepPixel t, DeepPixel s)
    {
        return largerLanes(t, s) & Depth<DeepPixel>::COLOR_BITS;
    }
};

// The arithmetic each pixel type's combiners use: 16-bit channels as lanes,
// every other type channel by channel.
template <class P> struct PixelArithmetic : ChannelByChannel<P> {
};
template <> struct PixelArithmetic<DeepPixel> : LaneByLane {
};

// Sets every target pixel to combine(target pixel, source pixel), over runs
// of whole rows on every thread.
template <class P, class Combine>
void combineEachPixel(P* target, const P* source, int32_t side, const Combine& combine)
{
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        const size_t first = (size_t)begin * side;
        P* out = target + first;
        const P* const last = target + (size_t)end * side;
        for (const P* in = source + first; out < last; ++out, ++in)
            *out = combine(*out, *in);
    });
}

} // namespace

template <class P> void addTexture(P* target, const P* source, int32_t side)
{
    combineEachPixel(
        target, source, side, [](P t, P s) { return PixelArithmetic<P>::added(t, s); });
}

template <class P> void subtractTexture(P* target, const P* source, int32_t side)
{
    combineEachPixel(
        target, source, side, [](P t, P s) { return PixelArithmetic<P>::subtracted(t, s); });
}

template <class P> void mixTexture(P* target, const P* source, int32_t side, int32_t balance)
{
    // The stepper's top value 256 acts as 255, so no balance keeps the target whole.
    uint32_t b = balance < 0 ? 0 : balance > 255 ? 255 : (uint32_t)balance;
    uint32_t rest = 256 - b;
    combineEachPixel(target, source, side, [b, rest](P t, P s) {
        return composeLevels<P>((b * channelOf(t, 2) + rest * channelOf(s, 2)) >> 8,
            (b * channelOf(t, 1) + rest * channelOf(s, 1)) >> 8,
            (b * channelOf(t, 0) + rest * channelOf(s, 0)) >> 8);
    });
}

template <class P> void copyTexture(P* target, const P* source, int32_t side)
{
    // memmove: the two arrays may be one and the same (then the runs are too).
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        const size_t first = (size_t)begin * side;
        memmove(target + first, source + first, (size_t)(end - begin) * side * sizeof(P));
    });
}

template <class P> void maxTexture(P* target, const P* source, int32_t side)
{
    combineEachPixel(
        target, source, side, [](P t, P s) { return PixelArithmetic<P>::larger(t, s); });
}

// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_COMBINERS(P)                                                                       \
    template void addTexture(P*, const P*, int32_t);                                               \
    template void subtractTexture(P*, const P*, int32_t);                                          \
    template void mixTexture(P*, const P*, int32_t, int32_t);                                      \
    template void copyTexture(P*, const P*, int32_t);                                              \
    template void maxTexture(P*, const P*, int32_t);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_COMBINERS)
