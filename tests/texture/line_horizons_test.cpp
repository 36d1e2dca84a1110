// The horizons of closed lines: each point's steepest rise each way against
// every other point of its loop, exactly, and the fast path's horizons
// against the plain code's, place for place, alone and side by side.

#include <gtest/gtest.h>
#include <vector>

#include "tests/support/random_texture.h"
#include "texture/line_horizons.h"

namespace {

// A rise over a run, as the sweep leaves it.
struct Horizon {
    int32_t rise;
    int32_t run;
    bool operator==(const Horizon& other) const { return rise == other.rise && run == other.run; }
};

// The horizons of point i of line b of those swept together from the first
// of their lines, one way, as sweepLineHorizons lays them out.
Horizon horizonOf(const LineRoom& room, int32_t b, int32_t i, int32_t highest, LineWay way)
{
    const bool lapOn = way == LOOKING_ON ? i < highest : i <= highest;
    const ptrdiff_t place = b * lineStride(room.n) + i + (lapOn ? room.n : 0);
    const int32_t* const h = room.horizons.data() + horizonAt(place, way);
    return Horizon { h[0], h[1] };
}

// Sweeps `lines` (one or two lines of the same length) with `code` and
// returns every point's horizons, looking on then back.
template <SweepCode CODE>
std::vector<Horizon> sweptHorizons(const std::vector<std::vector<int32_t>>& lines)
{
    const int32_t n = (int32_t)lines[0].size();
    const int32_t count = (int32_t)lines.size();
    LineRoom& room = lineRoom(count, n);
    for (int32_t b = 0; b < count; ++b)
        for (int32_t i = 0; i < n; ++i)
            room.places[(size_t)(b * lineStride(n) + i)] = lines[(size_t)b][(size_t)i];
    int32_t highest[LINES_SWEPT];
    sweepLineHorizons<CODE>(room, 0, count, highest);
    std::vector<Horizon> horizons;
    for (int32_t b = 0; b < count; ++b)
        for (LineWay way : { LOOKING_ON, LOOKING_BACK })
            for (int32_t i = 0; i < n; ++i)
                horizons.push_back(horizonOf(room, b, i, highest[b], way));
    return horizons;
}

// The steepest rise from point i to any other point of its loop, k steps
// away the way `way` (on: i + k), as the definition reads: none if no
// point is higher.
void expectSteepest(const std::vector<int32_t>& line, int32_t i, LineWay way, Horizon got)
{
    const int32_t n = (int32_t)line.size();
    int64_t bestRise = 0, bestRun = 1;
    for (int32_t k = 1; k < n; ++k) {
        const int32_t j = way == LOOKING_ON ? (i + k) % n : ((i - k) % n + n) % n;
        const int64_t rise = line[(size_t)j] - line[(size_t)i];
        if (rise * bestRun > bestRise * k) {
            bestRise = rise;
            bestRun = k;
        }
    }
    if (bestRise == 0) {
        EXPECT_LE(got.rise, 0) << "point " << i << " way " << way;
        return;
    }
    ASSERT_GT(got.run, 0) << "point " << i << " way " << way;
    EXPECT_EQ((int64_t)got.rise * bestRun, bestRise * got.run) << "point " << i << " way " << way;
}

// Lines of random heights: of all levels, of a few (ties abound), flat, and
// one high point or one low point alone.
std::vector<int32_t> someLine(testsupport::Noise& noise, int32_t n, int32_t kind)
{
    std::vector<int32_t> line((size_t)n);
    for (int32_t i = 0; i < n; ++i) {
        switch (kind % 5) {
        case 0:
            line[(size_t)i] = noise.between(0, 65535);
            break;
        case 1:
            line[(size_t)i] = 16384 * noise.between(0, 3);
            break;
        case 2:
            line[(size_t)i] = 777;
            break;
        case 3:
            line[(size_t)i] = i == n / 3 ? 65535 : 0;
            break;
        default:
            line[(size_t)i] = i == n / 2 ? 0 : 65535;
            break;
        }
    }
    return line;
}

TEST(LineHorizons, AreTheSteepestRiseToEveryOtherPointEachWay)
{
    testsupport::Noise noise(19);
    for (int32_t n : { 1, 2, 3, 7, 16, 61, 256 })
        for (int32_t kind = 0; kind < 10; ++kind) {
            const std::vector<int32_t> line = someLine(noise, n, kind);
            const std::vector<Horizon> got = sweptHorizons<SWEEP_FAST>({ line });
            for (int32_t i = 0; i < n; ++i) {
                expectSteepest(line, i, LOOKING_ON, got[(size_t)i]);
                expectSteepest(line, i, LOOKING_BACK, got[(size_t)(n + i)]);
            }
        }
}

TEST(LineHorizons, TheFastPathLeavesThePlainCodesHorizonsAloneAndSideBySide)
{
    testsupport::Noise noise(5);
    for (int32_t round = 0; round < 300; ++round) {
        const int32_t n = noise.between(1, 600);
        const std::vector<int32_t> first = someLine(noise, n, round);
        const std::vector<int32_t> second = someLine(noise, n, round / 5);
        EXPECT_EQ(sweptHorizons<SWEEP_FAST>({ first }), sweptHorizons<SWEEP_PLAIN>({ first }))
            << "n " << n;
        const std::vector<Horizon> together = sweptHorizons<SWEEP_FAST>({ first, second });
        EXPECT_EQ(together, sweptHorizons<SWEEP_PLAIN>({ first, second })) << "n " << n;
        std::vector<Horizon> apart = sweptHorizons<SWEEP_PLAIN>({ first });
        const std::vector<Horizon> other = sweptHorizons<SWEEP_PLAIN>({ second });
        apart.insert(apart.end(), other.begin(), other.end());
        EXPECT_EQ(together, apart) << "n " << n;
    }
}

} // namespace
