#include "texture/line_horizons.h"

#include <algorithm>

#include "texture/texture.h"

namespace {

// A sweep's stretch of the hulls, after the lines' places.
inline ptrdiff_t hullStretch(int32_t n)
{
    return (ptrdiff_t)2 * n + 8;
}

// A line's sweep one way, under way: backwards through the places to find
// each point's horizon looking on, forwards looking back. The upper convex
// hull of the points passed holds the points ahead of the one at hand, and
// the steepest of them is on it. The line is a loop, so the sweep starts at its highest
// point m and goes once round, back to m: every point past the next m ahead
// stands no higher than m and further away, so it never rises more steeply
// than m does (and where m does not rise, the sky is open).
struct Sweep {
    ptrdiff_t at; // the place at hand
    ptrdiff_t near; // where the hull's nearest point lies, the next under it
    ptrdiff_t end; // the place after the last
};

// Starts the sweep of a line of n points whose first lap starts at place
// `line`, from its point `highest` of height `peak`, with its hull at
// `hull`. m itself, one lap on, is the nearest point of the hull: for m it
// is its own twin, which rises by 0. Under it is a point lower than any,
// which is never steeper than m and so keeps m, and itself, on the hull.
template <LineWay WAY>
Sweep startSweep(
    int32_t* places, ptrdiff_t line, int32_t n, int32_t highest, int32_t peak, ptrdiff_t hull)
{
    const ptrdiff_t m = line + highest;
    const ptrdiff_t twin = WAY == LOOKING_ON ? m + n : m;
    places[hull] = (int32_t)(WAY == LOOKING_ON ? twin + 1 : twin - 1);
    places[hull + 1] = -65535;
    places[hull + 2] = (int32_t)twin;
    places[hull + 3] = peak;
    return WAY == LOOKING_ON ? Sweep { m + n - 1, hull + 2, m - 1 }
                             : Sweep { m + 1, hull + 2, m + n + 1 };
}

// A cross product of a rise (at most 2 x 65535, to the point below every
// height) and a run (at most a side) is exact in 32 bits.
static_assert(
    (int64_t)2 * 65535 * MAX_TEXTURE_SIDE < ((int64_t)1 << 31), "slopes compare in 32 bits");

// One move of a sweep: the point at hand takes the nearest point of the
// hull as its horizon and goes onto it, unless the hull's next point is as
// steep or steeper from it, in which case the nearest goes off (it lies on
// or below the segment from the point at hand to the next). Each point goes
// on once and off at most once, so a lap is at most twice its points in
// moves. What a move writes is written whichever it turns out to be, and
// where it does not hold a later move writes again first, so the move has
// no branch, whose way no predictor could guess. The slopes are compared
// exactly, as integer cross products, so which of equal slopes wins does
// not matter: each is the same fraction.
template <LineWay WAY, SweepCode CODE>
inline void moveSweep(int32_t* places, int32_t* horizons, ptrdiff_t& place, ptrdiff_t& near)
{
#if defined(__x86_64__) && defined(__GNUC__)
    // The same steps in the fewest instructions, with nothing left in memory
    // between moves but the sweep's own data: the compiler's version keeps
    // some of the four sweeps' places there. The heights and runs compare
    // as 32-bit integers, as above.
    if (CODE == SWEEP_FAST) {
        int32_t height, run, other, rise;
        ptrdiff_t record;
        // The instructions of a move, but for the runs and the step to the
        // next place, which go the other way looking back. The arguments are
        // instructions, which cannot stand in parentheses.
        // NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_SWEEP_MOVE(RUNS, STEP)                                                             \
    __asm__("movl (%[p],%[at],4), %[h]\n\t" /* the height at hand */                               \
            RUNS /* the runs to the nearest point and the next */                                  \
            "movl 4(%[p],%[nr],4), %[rise]\n\t" /* the rise to the nearest */                      \
            "subl %[h], %[rise]\n\t"                                                               \
            "leaq (%[at],%[at]), %[rec]\n\t" /* its horizon, written */                            \
            "movl %[rise], %c[riseAt](%[hz],%[rec],8)\n\t"                                         \
            "movl %[run], %c[runAt](%[hz],%[rec],8)\n\t"                                           \
            "movl %k[at], 8(%[p],%[nr],4)\n\t" /* the point, pushed */                             \
            "movl %[h], 12(%[p],%[nr],4)\n\t"                                                      \
            "imull %[rise], %[other]\n\t" /* the two cross products */                             \
            "movl -4(%[p],%[nr],4), %[rise]\n\t"                                                   \
            "subl %[h], %[rise]\n\t"                                                               \
            "imull %[run], %[rise]\n\t"                                                            \
            "xorl %k[rec], %k[rec]\n\t" /* off: 1 if the nearest goes */                           \
            "cmpl %[other], %[rise]\n\t"                                                           \
            "setge %b[rec]\n\t"                                                                    \
            "leaq 2(%[nr]), %[nr]\n\t" /* the hull's top, up or down */                            \
            STEP /* the next place, or this one again */                                           \
            "shlq $2, %[rec]\n\t"                                                                  \
            "subq %[rec], %[nr]"                                                                   \
            : [at] "+r"(place), [nr] "+r"(near), [h] "=&r"(height), [run] "=&r"(run),              \
            [other] "=&r"(other), [rise] "=&r"(rise), [rec] "=&r"(record)                          \
            : [p] "r"(places), [hz] "r"(horizons), [riseAt] "i"(8 * WAY), [runAt] "i"(8 * WAY + 4) \
            : "cc", "memory")
        static_assert(horizonAt(0, LOOKING_BACK) == 2, "a place's horizons, two ints a way");
        if (WAY == LOOKING_ON)
            QUILTOR_SWEEP_MOVE("movl (%[p],%[nr],4), %[run]\n\t"
                               "subl %k[at], %[run]\n\t"
                               "movl -8(%[p],%[nr],4), %[other]\n\t"
                               "subl %k[at], %[other]\n\t",
                "leaq -1(%[at],%[rec]), %[at]\n\t");
        else
            QUILTOR_SWEEP_MOVE("movl %k[at], %[run]\n\t"
                               "subl (%[p],%[nr],4), %[run]\n\t"
                               "movl %k[at], %[other]\n\t"
                               "subl -8(%[p],%[nr],4), %[other]\n\t",
                "leaq 1(%[at]), %[at]\n\t"
                "subq %[rec], %[at]\n\t");
#undef QUILTOR_SWEEP_MOVE
        // NOLINTEND(bugprone-macro-parentheses)
        return;
    }
#endif
    const int32_t at = (int32_t)place;
    const int32_t height = places[place];
    const int32_t nearRun = WAY == LOOKING_ON ? places[near] - at : at - places[near];
    const int32_t nextRun = WAY == LOOKING_ON ? places[near - 2] - at : at - places[near - 2];
    const int32_t nearRise = places[near + 1] - height;
    const ptrdiff_t off = (places[near - 1] - height) * nearRun >= nearRise * nextRun;
    horizons[horizonAt(place, WAY)] = nearRise;
    horizons[horizonAt(place, WAY) + 1] = nearRun;
    places[near + 2] = at;
    places[near + 3] = height;
    near += 2 - 4 * off;
    place += WAY == LOOKING_ON ? off - 1 : 1 - off;
}

// Sweeps a line both ways, or two lines, move by move in turn, so that the
// processor works on the sweeps side by side: as many moves as the sweep
// with the fewest places left has at least, again until one ends, then each
// on to its end. Sweep 2b looks on along line b, 2b + 1 back. The sweeps' places
// are plain variables, which the compiler keeps in registers.
template <int32_t LINES, SweepCode CODE>
void sweepLines(int32_t* places, int32_t* horizons, const Sweep* s)
{
    static_assert(LINES == 1 || LINES == 2, "one line or two side by side");
    ptrdiff_t at0 = s[0].at, near0 = s[0].near, at1 = s[1].at, near1 = s[1].near;
    ptrdiff_t at2 = LINES == 2 ? s[2].at : 0, near2 = LINES == 2 ? s[2].near : 0;
    ptrdiff_t at3 = LINES == 2 ? s[3].at : 0, near3 = LINES == 2 ? s[3].near : 0;
    for (;;) {
        ptrdiff_t moves = std::min(at0 - s[0].end, s[1].end - at1);
        if (LINES == 2)
            moves = std::min(moves, std::min(at2 - s[2].end, s[3].end - at3));
        if (moves <= 0)
            break;
        for (; moves > 0; --moves) {
            moveSweep<LOOKING_ON, CODE>(places, horizons, at0, near0);
            moveSweep<LOOKING_BACK, CODE>(places, horizons, at1, near1);
            if (LINES == 2) {
                moveSweep<LOOKING_ON, CODE>(places, horizons, at2, near2);
                moveSweep<LOOKING_BACK, CODE>(places, horizons, at3, near3);
            }
        }
    }
    while (at0 > s[0].end)
        moveSweep<LOOKING_ON, CODE>(places, horizons, at0, near0);
    while (at1 < s[1].end)
        moveSweep<LOOKING_BACK, CODE>(places, horizons, at1, near1);
    if (LINES == 2) {
        while (at2 > s[2].end)
            moveSweep<LOOKING_ON, CODE>(places, horizons, at2, near2);
        while (at3 < s[3].end)
            moveSweep<LOOKING_BACK, CODE>(places, horizons, at3, near3);
    }
}

// The first of a line's n points at its highest height `peak`, found a few
// at a time.
int32_t firstAtPeak(const int32_t* heights, int32_t n, int32_t peak)
{
    const int32_t FEW = 16;
    int32_t i = 0;
    for (; i + FEW <= n; i += FEW) {
        bool found = false;
        for (int32_t j = 0; j < FEW; ++j)
            found |= heights[i + j] == peak;
        if (found)
            break;
    }
    while (heights[i] != peak)
        ++i;
    return i;
}

// sweepLineHorizons of LINES lines.
template <int32_t LINES, SweepCode CODE>
void sweepLinesFrom(LineRoom& room, int32_t first, int32_t* highest)
{
    const int32_t n = room.n;
    // Places from the first line's on, so that the horizons need room for
    // these lines alone.
    int32_t* const places = room.places.data() + first * lineStride(n);
    const ptrdiff_t hulls = (room.lines - first) * lineStride(n);
    Sweep sweeps[2 * LINES];
    for (int32_t b = 0; b < LINES; ++b) {
        const ptrdiff_t line = b * lineStride(n);
        // The second lap a copy of the first, and the highest height.
        int32_t* const heights = places + line;
        int32_t peak = heights[0];
        for (int32_t i = 0; i < n; ++i) {
            heights[i + n] = heights[i];
            peak = heights[i] > peak ? heights[i] : peak;
        }
        highest[b] = firstAtPeak(heights, n, peak);
        sweeps[2 * b] = startSweep<LOOKING_ON>(
            places, line, n, highest[b], peak, hulls + 2 * b * hullStretch(n));
        sweeps[2 * b + 1] = startSweep<LOOKING_BACK>(
            places, line, n, highest[b], peak, hulls + (2 * b + 1) * hullStretch(n));
    }
    sweepLines<LINES, CODE>(places, room.horizons.data(), sweeps);
}

} // namespace

LineRoom& lineRoom(int32_t lines, int32_t n)
{
    static thread_local LineRoom room;
    room.lines = lines;
    room.n = n;
    room.places.resize((size_t)(lines * lineStride(n) + 2 * LINES_SWEPT * hullStretch(n)));
    room.horizons.resize((size_t)(HORIZONS_SIZE * LINES_SWEPT * lineStride(n)));
    return room;
}

template <SweepCode CODE>
void sweepLineHorizons(LineRoom& room, int32_t first, int32_t count, int32_t* highest)
{
    if (count == LINES_SWEPT)
        sweepLinesFrom<LINES_SWEPT, CODE>(room, first, highest);
    else
        sweepLinesFrom<1, CODE>(room, first, highest);
}

template void sweepLineHorizons<SWEEP_PLAIN>(LineRoom&, int32_t, int32_t, int32_t*);
template void sweepLineHorizons<SWEEP_FAST>(LineRoom&, int32_t, int32_t, int32_t*);
