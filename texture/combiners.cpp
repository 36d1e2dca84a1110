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

inline uint32_t larger(uint32_t t, uint32_t s)
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

// Runs `combine(out, end, in)` over runs of whole rows that together cover
// both textures.
template <class P, class Combine>
void forEachRun(P* target, const P* source, int32_t side, const Combine& combine)
{
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        size_t first = (size_t)begin * side;
        combine(target + first, target + (size_t)end * side, source + first);
    });
}

} // namespace

template <class P> void addTexture(P* target, const P* source, int32_t side)
{
    forEachRun(target, source, side, [](P* out, const P* end, const P* in) {
        for (; out < end; ++out, ++in) {
            P t = *out, s = *in;
            if constexpr (Depth<P>::BITS == 16) {
                *out = addLanes(t, s) & Depth<P>::COLOR_BITS;
            } else {
                *out = composeLevels<P>(capped<P>(channelOf(t, 2), channelOf(s, 2)),
                    capped<P>(channelOf(t, 1), channelOf(s, 1)),
                    capped<P>(channelOf(t, 0), channelOf(s, 0)));
            }
        }
    });
}

template <class P> void subtractTexture(P* target, const P* source, int32_t side)
{
    forEachRun(target, source, side, [](P* out, const P* end, const P* in) {
        for (; out < end; ++out, ++in) {
            P t = *out, s = *in;
            if constexpr (Depth<P>::BITS == 16) {
                *out = subtractLanes(t, s) & Depth<P>::COLOR_BITS;
            } else {
                *out = composeLevels<P>(floored(channelOf(t, 2), channelOf(s, 2)),
                    floored(channelOf(t, 1), channelOf(s, 1)),
                    floored(channelOf(t, 0), channelOf(s, 0)));
            }
        }
    });
}

template <class P> void mixTexture(P* target, const P* source, int32_t side, int32_t balance)
{
    // The stepper's top value 256 acts as 255, so no balance keeps the target whole.
    uint32_t b = balance < 0 ? 0 : balance > 255 ? 255 : (uint32_t)balance;
    uint32_t rest = 256 - b;
    forEachRun(target, source, side, [b, rest](P* out, const P* end, const P* in) {
        for (; out < end; ++out, ++in) {
            P t = *out, s = *in;
            *out = composeLevels<P>((b * channelOf(t, 2) + rest * channelOf(s, 2)) >> 8,
                (b * channelOf(t, 1) + rest * channelOf(s, 1)) >> 8,
                (b * channelOf(t, 0) + rest * channelOf(s, 0)) >> 8);
        }
    });
}

template <class P> void copyTexture(P* target, const P* source, int32_t side)
{
    // memmove: the two arrays may be one and the same (then the runs are too).
    forEachRun(target, source, side, [](P* out, const P* end, const P* in) {
        memmove(out, in, (size_t)(end - out) * sizeof(P));
    });
}

template <class P> void maxTexture(P* target, const P* source, int32_t side)
{
    forEachRun(target, source, side, [](P* out, const P* end, const P* in) {
        for (; out < end; ++out, ++in) {
            P t = *out, s = *in;
            if constexpr (Depth<P>::BITS == 16) {
                *out = largerLanes(t, s) & Depth<P>::COLOR_BITS;
            } else {
                *out = composeLevels<P>(larger(channelOf(t, 2), channelOf(s, 2)),
                    larger(channelOf(t, 1), channelOf(s, 1)),
                    larger(channelOf(t, 0), channelOf(s, 0)));
            }
        }
    });
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
QUILTOR_COMBINERS(Pixel)
QUILTOR_COMBINERS(DeepPixel)
