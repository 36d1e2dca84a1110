// The correctly rounded arctangent: atan2, and the angles of a point and of
// its mirror image at once. The fast path carries the angle as a
// double-double from a table of arctangents and a short series, with a
// bound on its error; where the bound leaves the rounding open, the slow
// fixed-point path decides, as for the sine (see rounded_sine.cpp).
#include <cmath>

#include "trig/fast_path.h"
#include "trig/precise_trig.h"
#include "trig/rounded_trig.h"

namespace {

const DoubleDouble PI = { 0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53 };
const DoubleDouble HALF_PI = { 0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54 };
const double QUARTER_PI_ROUNDED = 0x1.921fb54442d18p-1;
const double THREE_QUARTERS_PI_ROUNDED = 0x1.2d97c7f3321d2p+1;

// atan of 0 .. 256 × 1/256 as double-doubles, from the slow path.
const int ATAN_STEPS = 256;
struct AtanTable {
    DoubleDouble angle[ATAN_STEPS + 1];
};

const AtanTable& atanTable()
{
    static const AtanTable table = [] {
        AtanTable made;
        made.angle[0] = DoubleDouble { 0.0, 0.0 };
        for (int j = 1; j <= ATAN_STEPS; ++j)
            preciseAtan2((double)j, (double)ATAN_STEPS, &made.angle[j]);
        return made;
    }();
    return table;
}

// The fast path's error relative to the result: the quotient's and t's
// 2^-100, the table's 2^-106, the series' truncation below 2^-90 of t, and
// the roundings of the terms after the leading two, each within 2^-53 of a
// term at most 2^-18 of the result. Measured on millions of arguments it
// stays below 2^-70; the bound leaves a factor 4.
const double ATAN_RELATIVE_ERROR = 0x1p-68;

// atan(a/b) as a double-double, for 0 < a <= b with b within 2^+-400 and
// a >= 2^-500 b, so that no product below overflows or underflows.
DoubleDouble atanOfQuotient(double a, double b)
{
    // q = a/b as a double-double: q need not be the rounded quotient, as
    // qLow takes what it misses. a - p is exact, p lying within a few units
    // in the last place of a; the remainder's quotient needs only a few
    // bits, so a reciprocal serves for both divisions.
    double reciprocal = 1.0 / b;
    double q = a * reciprocal;
    DoubleDouble p = twoProduct(q, b);
    double qLow = ((a - p.hi) - p.lo) * reciprocal;
    // atan q = atan c + atan t, t = (q - c) / (1 + q c), c = j/256: q - c is
    // exact as in the sine, and |t| <= 1/512. q c is exact from q's halves,
    // c having only 9 bits.
    int j = (int)(q * ATAN_STEPS + 0.5);
    double c = (double)j / ATAN_STEPS;
    DoubleDouble numerator = twoSum(q - c, qLow);
    double qHigh, qHalfLow;
    splitInHalves(q, &qHigh, &qHalfLow);
    DoubleDouble qc = fastTwoSum(qHigh * c, qHalfLow * c);
    DoubleDouble denominator = fastTwoSum(1.0, qc.hi);
    denominator.lo += qc.lo + qLow * c;
    double inverse = 1.0 / denominator.hi;
    double t = numerator.hi * inverse;
    DoubleDouble td = twoProduct(t, denominator.hi);
    double tLow = (((numerator.hi - td.hi) - td.lo) + numerator.lo - t * denominator.lo) * inverse;
    double t2 = t * t;
    double tail = t * t2 * (-1.0 / 3 + t2 * (1.0 / 5 - t2 * (1.0 / 7 - t2 * (1.0 / 9))));
    const DoubleDouble& base = atanTable().angle[j];
    DoubleDouble sum = twoSum(base.hi, t);
    return DoubleDouble { sum.hi, sum.lo + base.lo + tLow + tail };
}

// a - b for double-doubles with |a| > |b|.
DoubleDouble differenceOf(const DoubleDouble& a, const DoubleDouble& b)
{
    DoubleDouble sum = twoSum(a.hi, -b.hi);
    return DoubleDouble { sum.hi, sum.lo + (a.lo - b.lo) };
}

// The rounded angle, or the slow path's where the fast one cannot decide.
double angleRounded(const DoubleDouble& angle, double y, double x)
{
    double rounded;
    if (lanesNotRounded(angle.hi, angle.lo, angle.hi * ATAN_RELATIVE_ERROR, &rounded)) {
        DoubleDouble precise;
        if (preciseAtan2(y, x, &precise)) {
            slowResults.fetch_add(1, std::memory_order_relaxed);
            rounded = precise.hi;
        }
    }
    return rounded;
}

// atan2(y, x) and atan2(y, -x) for y >= 0, or false on the axes, at
// infinity or with NaN, which the callers give their own values.
bool anglesInUpperHalf(double y, double x, double* right, double* left)
{
    double ax = std::fabs(x);
    if (!(y > 0.0 && ax > 0.0 && y < INFINITY && ax < INFINITY))
        return false;
    bool steep = y > ax;
    double a = steep ? ax : y, b = steep ? y : ax;
    // Far from 1, both scaled by one power of two (exact, unless a falls
    // below the normal range) so that b lies in [1/2, 1): the fast path's
    // products neither overflow nor underflow for b within 2^+-400 and
    // a >= 2^-500 b.
    if (b < 0x1p-400 || b > 0x1p400) {
        int exponent;
        std::frexp(b, &exponent);
        a = std::ldexp(a, -exponent);
        b = std::ldexp(b, -exponent);
    }
    DoubleDouble angle = a < b * 0x1p-500 ? DoubleDouble { a / b, 0.0 } : atanOfQuotient(a, b);
    if (steep)
        angle = differenceOf(HALF_PI, angle);
    // The angle of (|x|, y), and of (-|x|, y) = pi minus it.
    DoubleDouble mirrored = differenceOf(PI, angle);
    bool negativeX = std::signbit(x);
    *right = angleRounded(negativeX ? mirrored : angle, y, x);
    *left = angleRounded(negativeX ? angle : mirrored, y, -x);
    return true;
}

// atan2 on the axes, at infinity and of NaN, as the C library defines it.
double specialAngle(double y, double x)
{
    if (std::isnan(x) || std::isnan(y))
        return x + y;
    double ay = std::fabs(y), ax = std::fabs(x);
    if (std::isinf(ay) && std::isinf(ax))
        return std::copysign(std::signbit(x) ? THREE_QUARTERS_PI_ROUNDED : QUARTER_PI_ROUNDED, y);
    if (ay == 0.0 || std::isinf(ax))
        return std::copysign(std::signbit(x) ? PI.hi : 0.0, y);
    return std::copysign(HALF_PI.hi, y);
}

} // namespace

double roundedAtan2(double y, double x)
{
    // atan2 is odd in y: the lower half mirrors the upper, bit for bit.
    double right, left;
    if (!anglesInUpperHalf(std::fabs(y), x, &right, &left))
        return specialAngle(y, x);
    return std::copysign(right, y);
}

void roundedAtan2Mirrored(double y, double x, double* angle, double* mirrored)
{
    double right, left;
    if (!anglesInUpperHalf(std::fabs(y), x, &right, &left)) {
        *angle = specialAngle(y, x);
        *mirrored = specialAngle(y, -x);
        return;
    }
    *angle = std::copysign(right, y);
    *mirrored = std::copysign(left, y);
}
