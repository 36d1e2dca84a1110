// The horizons along closed lines of heights: for each point of a loop of
// heights and each way round it, the steepest rise to another point of the
// loop, exactly. The occlusion map sweeps every line of the torus in its
// sixteen directions this way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The two ways a point looks along its line: on, towards the places after
// it (i + k), and back, towards those before it (i - k).
enum LineWay { LOOKING_ON = 0, LOOKING_BACK = 1 };

// How the sweeps' moves are carried out: by the plain code, or by the fast
// path where the processor has one (x86-64, else the plain code again). Both
// give the same horizons; the tests hold the one to the other.
enum SweepCode { SWEEP_PLAIN, SWEEP_FAST };

// A thread's room for a group of lines of n points: their places, each
// line's n heights at lines × stride + i and the second lap the sweep copies
// after them, then the sweeps' hulls; and the horizons of the lines swept
// side by side. One array for the places and hulls and one for the
// horizons, so that two addresses reach everything a sweep touches.
struct LineRoom {
    int32_t lines = 0;
    int32_t n = 0;
    std::vector<int32_t> places;
    std::vector<int32_t> horizons;
};

// Where line b's point i lies in a room of lines of n points: b × stride + i.
inline ptrdiff_t lineStride(int32_t n)
{
    return (ptrdiff_t)2 * n + 16;
}

// This thread's room for `lines` lines of n points, kept from one call to
// the next, so that a window redrawing the map of a changing texture
// allocates nothing once the first map is made.
LineRoom& lineRoom(int32_t lines, int32_t n);

// The lines swept side by side, at most.
const int32_t LINES_SWEPT = 2;

// What the horizons keep of each place: for each way the rise to the
// horizon (0 or less where nothing is higher) and the steps to it.
const ptrdiff_t HORIZONS_SIZE = 4;
constexpr ptrdiff_t horizonAt(ptrdiff_t place, LineWay way)
{
    return HORIZONS_SIZE * place + 2 * way;
}

// Sweeps lines [first, first + count) of `room` (count 1 or LINES_SWEPT)
// both ways, each from its highest point m, the first of its highest height,
// which it writes into `highest`. Their horizons are then in room.horizons,
// by place from line `first`'s on: point i of line first + b at
// horizonAt(b × stride + i, way), one lap on (+ n places) for the points
// before m looking on and for m and those before it looking back. A rise is
// over a whole number of steps, the slopes compared exactly, so which of
// equal slopes wins cannot change a horizon's steepness.
template <SweepCode CODE>
void sweepLineHorizons(LineRoom& room, int32_t first, int32_t count, int32_t* highest);
