// What the fast paths of the rounded functions share: the lanes they work
// in, the check that a result rounds safely, and the count of results left
// to the slow path.
//
// A fast path is written once over its number type: a double, or a Pair of
// them in one vector register. Vector additions, products and divisions
// round each lane exactly as the double operations do, so a step written
// once gives the same bits in every lane as it gives a double; only what is
// not arithmetic (a table lookup, a comparison, a conversion to a whole
// number) goes lane by lane through the helpers below. On a processor
// without vector registers the compiler works the lanes one after the
// other, to the same results.
#pragma once

#include <atomic>
#include <cmath>
#include <cstdint>

#include "trig/double_double.h"

typedef double Pair __attribute__((vector_size(16)));

// How many doubles a number type holds, each of them, and a number made of
// `lane(i)` for each lane i (built from its lanes at once, which the
// compiler does in registers, rather than lane by lane through memory).
template <class Number> struct Lanes;
template <> struct Lanes<double> {
    static constexpr int COUNT = 1;
    static double get(double x, int) { return x; }
    template <class Lane> static double fromEach(const Lane& lane) { return lane(0); }
    // The lanes (bit i for lane i) where a and b differ.
    static unsigned unequalLanes(double a, double b) { return a != b; }
};
template <> struct Lanes<Pair> {
    static constexpr int COUNT = 2;
    static double get(const Pair& x, int lane) { return x[lane]; }
    template <class Lane> static Pair fromEach(const Lane& lane)
    {
        return Pair { lane(0), lane(1) };
    }
    static unsigned unequalLanes(Pair a, Pair b)
    {
        typedef int64_t PairMask __attribute__((vector_size(16)));
        const PairMask unequal = a != b; // -1 where they differ
        return (unsigned)(unequal[0] & 1) | (unsigned)(unequal[1] & 2);
    }
};

// `apply` of each lane of x.
template <class Number, class Apply> inline Number eachLane(Number x, const Apply& apply)
{
    return Lanes<Number>::fromEach([&](int lane) { return apply(Lanes<Number>::get(x, lane)); });
}

// |x| in each lane.
template <class Number> inline Number absoluteOf(Number x)
{
    return eachLane(x, [](double v) { return std::fabs(v); });
}

// -1 where a lane is negative, else +1: factors whose products are exact.
template <class Number> inline Number signOf(Number x)
{
    return eachLane(x, [](double v) { return v < 0 ? -1.0 : 1.0; });
}

// Each lane truncated to a whole number (|x| < 2^63).
template <class Number> inline Number wholeOf(Number x)
{
    return eachLane(x, [](double v) { return (double)(int64_t)v; });
}

// Rounds hi + lo into *rounded in each lane and returns the lanes (bit i for
// lane i) where some number within `error` of it rounds to another double:
// there the fast path cannot tell the correctly rounded result. Rounding
// is monotonic, so checking the two ends is enough; lo - error and
// lo + error are themselves rounded, by less than 2^-100 of hi, which the
// fast paths' error bounds leave room for.
template <class Number>
inline unsigned lanesNotRounded(Number hi, Number lo, Number error, Number* rounded)
{
    const Number low = hi + (lo - error);
    const Number high = hi + (lo + error);
    *rounded = low;
    return Lanes<Number>::unequalLanes(low, high);
}

// Results so far that the fast paths could not round and the slow one
// worked out (roundedTrigSlowResults).
inline std::atomic<int64_t> slowResults { 0 };
