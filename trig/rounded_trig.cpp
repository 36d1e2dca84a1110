#include "trig/rounded_trig.h"

#include <atomic>
#include <cmath>
#include <cstring>

#include "trig/double_double.h"
#include "trig/precise_trig.h"
#include "trig/sine_table.h"

// Each function has a fast path that carries the result as a double-double
// accurate to about 2^-70 of its size, well past the 53 bits of a double,
// with a bound on its error. When every number within the bound of it rounds
// to the same double, that double is the correctly rounded result. Only when
// the exact value lies too close to half-way between two doubles (about once
// in 2^14 results) does the slow fixed-point path decide.

namespace {

std::atomic<int64_t> slowResults { 0 };

// True, with the rounded value, when every number within `error` of
// hi + lo rounds to the same double. Rounding is monotonic, so checking the
// two ends is enough; lo - error and lo + error are themselves rounded, by
// less than 2^-100 of hi, which the error bounds below leave room for.
inline bool roundsTheSameWithin(double hi, double lo, double error, double* rounded)
{
    double low = hi + (lo - error);
    double high = hi + (lo + error);
    *rounded = low;
    return low == high;
}

// --- Sine and cosine ---------------------------------------------------

// A reduced argument |r| = c + t, c = j/256, with what both sin r and cos r
// need of t.
struct ReducedArgument {
    double sign; // of r: sin is odd and cos even, so they work on |r|
    int j;
    double t, tLow; // t = |r| - c, exact, and |r|'s low part; |t| <= 1/512
    double tHigh, tHalfLow; // t in halves
    double sinTail, cosTail; // sin t - t and cos t - 1
};

// |r| = |hi + lo| <= pi/4 + 2^-30 split for the table: |hi| - c is exact, as
// for j >= 1 |hi| lies within a factor 2 of c.
ReducedArgument reducedArgument(double hi, double lo)
{
    ReducedArgument r;
    r.sign = hi < 0 ? -1.0 : 1.0;
    hi *= r.sign;
    r.j = (int)(hi * SINE_STEPS + 0.5);
    r.t = hi - (double)r.j / SINE_STEPS;
    r.tLow = lo * r.sign;
    splitInHalves(r.t, &r.tHigh, &r.tHalfLow);
    // Small enough (2^-29 and 2^-19) that a double carries them well; t's
    // low part matters only in t² / 2.
    double t2 = r.t * r.t;
    r.sinTail = r.t * t2 * (-1.0 / 6 + t2 * (1.0 / 120 - t2 * (1.0 / 5040)));
    r.cosTail = -(0.5 * t2 + r.t * r.tLow) + t2 * t2 * (1.0 / 24 - t2 * (1.0 / 720));
    return r;
}

// A cos t + B sin t as a double-double: sin(c + t) with A = S, B = C, and
// cos(c + t) with A = C, B = -S (bSign -1). That is A + B t + B (sin t - t)
// + A (cos t - 1): A + B t carried exactly (B t from the halves of B and t,
// each product of halves exact as in twoProduct; |B t| <= 2^-9 <= |A| or
// A = 0), the rest to well below the result's last bit.
DoubleDouble sumAtReduced(
    const SinePart& a, const SinePart& b, double bSign, const ReducedArgument& r)
{
    double bt = b.value.hi * r.t;
    double btError
        = ((b.high * r.tHigh - bt) + b.high * r.tHalfLow + b.low * r.tHigh) + b.low * r.tHalfLow;
    DoubleDouble sum = fastTwoSum(a.value.hi, bSign * bt);
    double low = sum.lo
        + bSign * (btError + b.value.hi * r.tLow + b.value.lo * r.t + b.value.hi * r.sinTail)
        + a.value.lo + a.value.hi * r.cosTail;
    return DoubleDouble { sum.hi, low };
}

// sin r (sineForm) or cos r at the reduced argument.
DoubleDouble sinOrCosOfReduced(const ReducedArgument& r, bool sineForm)
{
    const SineTable& table = sineTable();
    const SinePart& s = table.sine[r.j];
    const SinePart& c = table.cosine[r.j];
    if (sineForm) {
        DoubleDouble value = sumAtReduced(s, c, 1.0, r);
        return DoubleDouble { r.sign * value.hi, r.sign * value.lo };
    }
    return sumAtReduced(c, s, -1.0, r);
}

// x modulo 2^62, exactly, for |x| >= 2^63: such an x is a whole multiple
// of 2^11, m × 2^e with m < 2^53, so the remainder is a whole number.
double reducedModulo2To62(double x)
{
    int exponent;
    double m = std::frexp(x, &exponent); // |m| in [0.5, 1), exact
    int64_t whole = (int64_t)std::ldexp(m, 53); // |whole| < 2^53
    int shift = exponent - 53; // >= 11
    if (shift >= 62)
        return 0.0;
    int64_t mask = ((int64_t)1 << (62 - shift)) - 1;
    int64_t kept = whole < 0 ? -((-whole) & mask) : (whole & mask);
    return std::ldexp((double)kept, shift);
}

// The sine and cosine of x correctly rounded, fast path first; either
// pointer may be null, and only the results asked for need to round safely.
void sinCosRounded(double x, double* sine, double* cosine)
{
    double magnitude = std::fabs(x);
    if (!(magnitude < 0x1p63)) {
        if (!std::isfinite(x)) {
            if (sine)
                *sine = x - x; // NaN
            if (cosine)
                *cosine = x - x;
            return;
        }
        x = reducedModulo2To62(x);
        magnitude = std::fabs(x);
    }
    // Below 2^-27, x³/6 and x²/2 are less than a quarter of the last bit:
    // sin x rounds to x and cos x to 1.
    if (magnitude < 0x1p-27) {
        if (sine)
            *sine = x;
        if (cosine)
            *cosine = 1.0;
        return;
    }
    if (magnitude < FAST_REDUCTION_LIMIT) {
        // r = |x| - k pi/2 with k the nearest whole number, or one off where
        // the estimate of |x| × 2/pi rounds across a half: |r| < pi/4 + 2^-30.
        // |x| - k × (first part) is exact: for k >= 1, |x| lies between
        // (k - 1/2) pi/2 × (1 - 2^-50) and (k + 1/2) pi/2 × (1 + 2^-50), within
        // a factor 2 of k × (first part), which falls short of k pi/2 by more
        // than 2^-41 k. The products of k with the first two parts are exact
        // and their difference carried exactly; the third part's product and
        // the sum of the small remainders are rounded, by less than 2^-51 of
        // that sum and 2^-119, and the parts of pi/2 miss it by less than
        // 2^-121 at k < 2^13.
        double k = (double)(int64_t)(magnitude * TWO_OVER_PI + 0.5);
        double first = magnitude - k * HALF_PI_1;
        DoubleDouble second = twoSum(first, -(k * HALF_PI_2));
        double rest = second.lo - k * HALF_PI_3;
        DoubleDouble r = twoSum(second.hi, rest);
        double reductionError = 0x1p-117 + std::fabs(rest) * 0x1p-51;
        ReducedArgument reduced = reducedArgument(r.hi, r.lo);
        // By the quadrant q = k mod 4: sin x is sin r, cos r, -sin r, -cos r
        // and cos x is cos r, -sin r, -cos r, sin r; sin is odd. Signs as
        // factors of +-1, which are exact. An error d in r moves sin and cos
        // by at most |d|.
        int quadrant = (int)k & 3;
        bool odd = quadrant & 1;
        bool sineRounded = true, cosineRounded = true;
        if (sine) {
            double sign = ((quadrant & 2) != 0) != (x < 0) ? -1.0 : 1.0;
            DoubleDouble s = sinOrCosOfReduced(reduced, !odd);
            sineRounded = roundsTheSameWithin(sign * s.hi, sign * s.lo,
                std::fabs(s.hi) * SINE_RELATIVE_ERROR + reductionError, sine);
        }
        if (cosine) {
            double sign = ((quadrant + 1) & 2) ? -1.0 : 1.0;
            DoubleDouble c = sinOrCosOfReduced(reduced, odd);
            cosineRounded = roundsTheSameWithin(sign * c.hi, sign * c.lo,
                std::fabs(c.hi) * SINE_RELATIVE_ERROR + reductionError, cosine);
        }
        if (sineRounded && cosineRounded)
            return;
    }
    slowResults.fetch_add(1, std::memory_order_relaxed);
    DoubleDouble s, c;
    preciseSinCos(x, &s, &c);
    if (sine)
        *sine = s.hi;
    if (cosine)
        *cosine = c.hi;
}

// --- Arctangent ----------------------------------------------------------

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
    if (!roundsTheSameWithin(angle.hi, angle.lo, angle.hi * ATAN_RELATIVE_ERROR, &rounded)) {
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

const SineTable& sineTable()
{
    static const SineTable table = [] {
        SineTable made;
        for (int j = 0; j < SINE_TABLE_SIZE; ++j) {
            made.sine[j].value = DoubleDouble { 0.0, 0.0 };
            made.cosine[j].value = DoubleDouble { 1.0, 0.0 };
            if (j > 0)
                preciseSinCos((double)j / SINE_STEPS, &made.sine[j].value, &made.cosine[j].value);
            splitInHalves(made.sine[j].value.hi, &made.sine[j].high, &made.sine[j].low);
            splitInHalves(made.cosine[j].value.hi, &made.cosine[j].high, &made.cosine[j].low);
        }
        return made;
    }();
    return table;
}

double roundedSin(double x)
{
    double sine;
    sinCosRounded(x, &sine, nullptr);
    return sine;
}

double roundedCos(double x)
{
    double cosine;
    sinCosRounded(x, nullptr, &cosine);
    return cosine;
}

void roundedSinCos(double x, double* sine, double* cosine)
{
    sinCosRounded(x, sine, cosine);
}

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

int64_t roundedTrigSlowResults()
{
    return slowResults.load(std::memory_order_relaxed);
}
