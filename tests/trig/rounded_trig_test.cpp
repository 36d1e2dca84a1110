#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

#include "trig/double_double.h"
#include "trig/precise_trig.h"
#include "trig/rounded_trig.h"

namespace {

// The exact products and sums every fast path is built on, checked against
// whole-number arithmetic: a contraction into a fused multiply-add, or
// doubles kept in wider registers, would break them.
TEST(DoubleDouble, ProductsAndSumsAreExact)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        // a = ma / 2^53 and b = mb / 2^53 in [1/2, 1): their product and its
        // two parts are whole multiples of 2^-106.
        int64_t ma = (int64_t)(random() >> 11) | (int64_t)1 << 52;
        int64_t mb = (int64_t)(random() >> 11) | (int64_t)1 << 52;
        double a = std::ldexp((double)ma, -53), b = std::ldexp((double)mb, -53);
        DoubleDouble product = twoProduct(a, b);
        __int128 hi = (__int128)std::ldexp(product.hi, 106);
        __int128 lo = (__int128)std::ldexp(product.lo, 106);
        ASSERT_TRUE(hi + lo == (__int128)ma * mb) << std::hexfloat << a << " × " << b;
        ASSERT_LE(std::fabs(product.lo), std::ldexp(product.hi, -53));
        // And a sum across 30 binades, its error recovered exactly.
        double c = std::ldexp(b, -(int)(random() % 30));
        DoubleDouble total = twoSum(a, c);
        ASSERT_EQ(total.hi, a + c);
        __int128 scaledSum
            = (__int128)std::ldexp(total.hi, 83) + (__int128)std::ldexp(total.lo, 83);
        ASSERT_TRUE(scaledSum == (__int128)std::ldexp(a, 83) + (__int128)std::ldexp(c, 83))
            << std::hexfloat << a << " + " << c;
    }
}

// The fast paths against the fixed-point slow path, their reference, over the
// engine's domain: the tables' arguments, the twirl's angles and its
// arctangents of whole numbers.
TEST(RoundedTrig, TheFastPathsGiveTheSlowPathsResults)
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> table(0.0, 629.0), angle(-7.2, 7.2);
    for (int i = 0; i < 3000; ++i) {
        double x = i % 2 ? table(random) : angle(random);
        DoubleDouble sine, cosine;
        preciseSinCos(x, &sine, &cosine);
        double s, c;
        roundedSinCos(x, &s, &c);
        ASSERT_EQ(s, sine.hi) << std::hexfloat << x;
        ASSERT_EQ(c, cosine.hi) << std::hexfloat << x;
        ASSERT_EQ(roundedSin(x), s);
        ASSERT_EQ(roundedCos(x), c);
    }
    for (int i = 0; i < 2000; ++i) {
        double b = (double)(random() % 8193), a = (double)(random() % 8193 + 1);
        DoubleDouble right, left;
        ASSERT_TRUE(b == 0.0 || preciseAtan2(b, a, &right));
        ASSERT_TRUE(b == 0.0 || preciseAtan2(b, -a, &left));
        double angle1, angle2;
        roundedAtan2Mirrored(b, a, &angle1, &angle2);
        ASSERT_EQ(angle1, b == 0.0 ? 0.0 : right.hi) << b << ", " << a;
        ASSERT_EQ(angle2, b == 0.0 ? roundedAtan2(0.0, -1.0) : left.hi) << b << ", " << -a;
        ASSERT_EQ(roundedAtan2(b, a), angle1);
        ASSERT_EQ(roundedAtan2(b, -a), angle2);
    }
}

// The two-lane form against the one-argument form, bit for bit: they share
// their steps, and this holds them to it on the tables' and the twirl's
// arguments, next to multiples of pi/2 where the reduction cancels most, on
// hard cases that take the slow path in one lane only, and with a lane
// outside the fast range.
TEST(RoundedTrig, TwoArgumentsAtOnceGiveTheOneArgumentResults)
{
    std::mt19937_64 random(23);
    std::uniform_real_distribution<double> table(0.0, 629.0), angle(-7.2, 7.2);
    auto nearHalfPiMultiple = [&]() {
        double x = (double)(int64_t)(random() % 2000 - 1000) * 1.5707963267948966;
        for (int steps = (int)(random() % 7) - 3; steps != 0; steps += steps < 0 ? 1 : -1)
            x = std::nextafter(x, steps < 0 ? -INFINITY : INFINITY);
        return x;
    };
    const double unusual[] = { 0x1.50bd4d6bc64cbp+5, 0x1.a6c4a6feff890p+7, 0.0, -0x1p-30, 8192.0,
        -1e6, 0x1p70, INFINITY, NAN };
    for (int i = 0; i < 200000; ++i) {
        double x[2];
        for (double& value : x) {
            int kind = (int)(random() % 8);
            value = kind < 3 ? table(random)
                : kind < 6   ? angle(random)
                : kind < 7   ? nearHalfPiMultiple()
                             : unusual[random() % (sizeof unusual / sizeof unusual[0])];
        }
        double sines[2], cosines[2];
        roundedSinCosOfTwo(x[0], x[1], sines, cosines);
        for (int lane = 0; lane < 2; ++lane) {
            double sine, cosine;
            roundedSinCos(x[lane], &sine, &cosine);
            ASSERT_EQ(std::memcmp(&sines[lane], &sine, sizeof sine), 0)
                << std::hexfloat << x[lane] << " in lane " << lane;
            ASSERT_EQ(std::memcmp(&cosines[lane], &cosine, sizeof cosine), 0)
                << std::hexfloat << x[lane] << " in lane " << lane;
        }
    }
}

// An argument whose sine lies within 4e-8 units in the last place of
// half-way between two doubles (found by the hard-case search): no fast path
// can round it, and the slow path must, the right way.
TEST(RoundedTrig, TheSlowPathRoundsWhatTheFastOneCannot)
{
    int64_t before = roundedTrigSlowResults();
    EXPECT_EQ(roundedSin(0x1.50bd4d6bc64cbp+5), -0x1.e6288ed35d433p-1);
    EXPECT_EQ(roundedTrigSlowResults(), before + 1);
    // Beside an easy argument, the count stays.
    before = roundedTrigSlowResults();
    EXPECT_EQ(roundedCos(0.0), 1.0);
    EXPECT_EQ(roundedSin(0.5), 0x1.eaee8744b05fp-2);
    EXPECT_EQ(roundedTrigSlowResults(), before);
}

// Symmetries the engine relies on, bit for bit: sin odd, cos even, atan2 odd
// in y; the C library's values on the axes and at infinity.
TEST(RoundedTrig, SymmetriesAndSpecialValues)
{
    for (double x : { 0.1, 1.0, 2.5, 7.0, 100.25, 628.0 }) {
        EXPECT_EQ(roundedSin(-x), -roundedSin(x));
        EXPECT_EQ(roundedCos(-x), roundedCos(x));
        EXPECT_EQ(roundedAtan2(-x, 3.0), -roundedAtan2(x, 3.0));
    }
    const double pi = 0x1.921fb54442d18p+1, halfPi = 0x1.921fb54442d18p+0;
    EXPECT_TRUE(std::signbit(roundedSin(-0.0)));
    EXPECT_EQ(roundedAtan2(0.0, 5.0), 0.0);
    EXPECT_TRUE(std::signbit(roundedAtan2(-0.0, 5.0)));
    EXPECT_EQ(roundedAtan2(0.0, -5.0), pi);
    EXPECT_EQ(roundedAtan2(-0.0, -0.0), -pi);
    EXPECT_EQ(roundedAtan2(3.0, 0.0), halfPi);
    EXPECT_EQ(roundedAtan2(-3.0, -0.0), -halfPi);
    EXPECT_EQ(roundedAtan2(1.0, INFINITY), 0.0);
    EXPECT_EQ(roundedAtan2(1.0, -INFINITY), pi);
    EXPECT_EQ(roundedAtan2(INFINITY, INFINITY), 0x1.921fb54442d18p-1);
    EXPECT_EQ(roundedAtan2(-INFINITY, -INFINITY), -0x1.2d97c7f3321d2p+1);
    EXPECT_EQ(roundedAtan2(INFINITY, 2.0), halfPi);
    EXPECT_TRUE(std::isnan(roundedAtan2(NAN, 1.0)));
    EXPECT_TRUE(std::isnan(roundedSin(INFINITY)));
    EXPECT_TRUE(std::isnan(roundedCos(NAN)));
    // Tiny arguments, where sin x rounds to x and cos x to 1.
    EXPECT_EQ(roundedSin(0x1.8p-30), 0x1.8p-30);
    EXPECT_EQ(roundedCos(0x1.8p-30), 1.0);
}

// The first arguments where the cosine falls below 1, and the sine below
// its argument: below them the results are 1 and x, from them on the next
// double down (worked out with arbitrary precision). Both lie above 2^-27,
// where the shortcut for tiny arguments stops, so the fast paths of both
// forms decide them.
TEST(RoundedTrig, TheCosineLeavesOneAndTheSineItsArgumentWhereTheyShould)
{
    const double cosineEdge = 0x1.6a09e667f3bcdp-27, sineEdge = 0x1.7137449123ef7p-26;
    const double belowOne = 0x1.fffffffffffffp-1;
    for (double sign : { 1.0, -1.0 }) {
        const double justBelow = sign * std::nextafter(cosineEdge, 0.0);
        EXPECT_EQ(roundedCos(justBelow), 1.0) << std::hexfloat << justBelow;
        EXPECT_EQ(roundedCos(sign * cosineEdge), belowOne) << std::hexfloat << sign * cosineEdge;
        const double sineBelow = sign * std::nextafter(sineEdge, 0.0);
        EXPECT_EQ(roundedSin(sineBelow), sineBelow) << std::hexfloat << sineBelow;
        EXPECT_EQ(roundedSin(sign * sineEdge), sign * std::nextafter(sineEdge, 0.0));
        double sines[2], cosines[2];
        roundedSinCosOfTwo(justBelow, sign * cosineEdge, sines, cosines);
        EXPECT_EQ(cosines[0], 1.0);
        EXPECT_EQ(cosines[1], belowOne);
        roundedSinCosOfTwo(sign * sineEdge, sineBelow, sines, cosines);
        EXPECT_EQ(sines[0], sign * std::nextafter(sineEdge, 0.0));
        EXPECT_EQ(sines[1], sineBelow);
    }
}

// sin is odd and cos even beyond the engine's domain too: through the slow
// path alone below 2^63, and after the reduction modulo 2^62 above it, in
// every form.
TEST(RoundedTrig, HugeNegativeArgumentsMirrorThePositiveOnes)
{
    const double huge[] = { 8192.0, 1e4, 123456.789, 0x1.8p40, 9e15, 0x1.fffffffffffffp62, 0x1p63,
        0x1.0000000000001p63, 0x1.5p70, 0x1.8p64, 1e300, 0x1.fffffffffffffp1023 };
    for (double x : huge) {
        const double sine = roundedSin(x), cosine = roundedCos(x);
        EXPECT_EQ(roundedSin(-x), -sine) << std::hexfloat << -x;
        EXPECT_EQ(roundedCos(-x), cosine) << std::hexfloat << -x;
        double s, c;
        roundedSinCos(-x, &s, &c);
        EXPECT_EQ(s, -sine) << std::hexfloat << -x;
        EXPECT_EQ(c, cosine) << std::hexfloat << -x;
        double sines[2], cosines[2];
        roundedSinCosOfTwo(-x, x, sines, cosines);
        EXPECT_EQ(sines[0], -sine) << std::hexfloat << -x;
        EXPECT_EQ(cosines[0], cosine) << std::hexfloat << -x;
        EXPECT_EQ(sines[1], sine) << std::hexfloat << x;
    }
}

// A NaN in either argument, whatever the other (zeros, infinities and NaN
// included), gives NaN, as the C library's atan2 does; the mirrored pair
// too.
TEST(RoundedTrig, ANanGivenToAtan2GivesNan)
{
    const double others[] = { 0.0, -0.0, 1.0, -1.0, 3e-310, 1e300, INFINITY, -INFINITY, NAN };
    for (double other : others) {
        EXPECT_TRUE(std::isnan(roundedAtan2(NAN, other))) << other;
        EXPECT_TRUE(std::isnan(roundedAtan2(other, NAN))) << other;
        EXPECT_TRUE(std::isnan(roundedAtan2(-NAN, other))) << other;
        double angle = 0.0, mirrored = 0.0;
        roundedAtan2Mirrored(NAN, other, &angle, &mirrored);
        EXPECT_TRUE(std::isnan(angle) && std::isnan(mirrored)) << other;
        angle = mirrored = 0.0;
        roundedAtan2Mirrored(other, NAN, &angle, &mirrored);
        EXPECT_TRUE(std::isnan(angle) && std::isnan(mirrored)) << other;
    }
}

// Beyond the domain, results stay finite and the same on every call; from
// 2^63 the argument is reduced modulo 2^62 first.
TEST(RoundedTrig, HugeArgumentsStayDeterministicAndInRange)
{
    for (double x : { 1e4, 123456.789, 0x1.8p40, 9e15, 0x1p63, 0x1.5p70, 1e300, -1e300 }) {
        double s = roundedSin(x), c = roundedCos(x);
        EXPECT_LE(std::fabs(s), 1.0) << x;
        EXPECT_LE(std::fabs(c), 1.0) << x;
        EXPECT_EQ(roundedSin(x), s);
        EXPECT_NEAR(s * s + c * c, 1.0, 1e-15) << x;
    }
    // Below 2^63 they are still the sine: 1e4 is well known to 1e-16.
    EXPECT_NEAR(roundedSin(1e4), -0.30561438888825215, 1e-16);
    EXPECT_EQ(roundedSin(0x1.4p64), 0.0); // 5 × 2^62
}

} // namespace
