// The correctly rounded sine and cosine, of one argument or of two at once.
// The fast path carries each result as a double-double accurate to about
// 2^-70 of its size, well past the 53 bits of a double, with a bound on its
// error. When every number within the bound of it rounds to the same
// double, that double is the correctly rounded result. Only when the exact
// value lies too close to half-way between two doubles (about once in 2^14
// results) does the slow fixed-point path decide. Beyond the arguments that
// pi/2 in three doubles reduces exactly, the fixed point reduces them and
// the fast path does the rest: the reduction costs a small part of the
// fixed-point series.
//
// The fast path is written once, over a double or a Pair of them (see
// fast_path.h): the twirl needs four sines and cosines per four pixels, and
// two lanes of the vector unit cost little more than one. So both forms
// give the same bits because they run the same steps. The steps are
// inlined into every entry point (always_inline), so that each is compiled
// for what it asks, one result or both, one lane or two, and costs what a
// function of its own would.
#include <cmath>
#include <cstdint>

#include "trig/fast_path.h"
#include "trig/precise_trig.h"
#include "trig/rounded_trig.h"
#include "trig/sine_table.h"

namespace {

// A reduced argument |r| = c + t in each lane, c = j/256, with what both
// sin r and cos r need of t.
template <class Number> struct ReducedArgument {
    Number sign; // of r: sin is odd and cos even, so they work on |r|
    int j[Lanes<Number>::COUNT];
    Number t, tLow; // t = |r| - c, exact, and |r|'s low part; |t| <= 1/512
    Number tHigh, tHalfLow; // t in halves
    Number sinTail, cosTail; // sin t - t and cos t - 1
};

// |r| = |hi + lo| <= pi/4 + 2^-30 split for the table: |hi| - c is exact, as
// for j >= 1 |hi| lies within a factor 2 of c.
template <class Number> ReducedArgument<Number> reducedArgument(Number hi, Number lo)
{
    typedef Lanes<Number> L;
    ReducedArgument<Number> r;
    r.sign = signOf(hi);
    hi *= r.sign;
    const Number scaled = hi * (double)SINE_STEPS + 0.5;
    for (int lane = 0; lane < L::COUNT; ++lane)
        r.j[lane] = (int)L::get(scaled, lane);
    r.t = hi - L::fromEach([&](int lane) { return (double)r.j[lane]; }) / (double)SINE_STEPS;
    r.tLow = lo * r.sign;
    splitInHalves(r.t, &r.tHigh, &r.tHalfLow);
    // Small enough (2^-29 and 2^-19) that a double carries them well; t's
    // low part matters only in t² / 2.
    const Number t2 = r.t * r.t;
    r.sinTail = r.t * t2 * (-1.0 / 6 + t2 * (1.0 / 120 - t2 * (1.0 / 5040)));
    r.cosTail = -(0.5 * t2 + r.t * r.tLow) + t2 * t2 * (1.0 / 24 - t2 * (1.0 / 720));
    return r;
}

// A table entry in each lane: its value and its high part in halves.
template <class Number> struct TablePart {
    Number hi, lo, high, low;
};

// The entries parts[0 .. lanes - 1] as one TablePart.
template <class Number> TablePart<Number> tablePartOf(const SinePart* const* parts)
{
    typedef Lanes<Number> L;
    return TablePart<Number> { L::fromEach([&](int lane) { return parts[lane]->value.hi; }),
        L::fromEach([&](int lane) { return parts[lane]->value.lo; }),
        L::fromEach([&](int lane) { return parts[lane]->high; }),
        L::fromEach([&](int lane) { return parts[lane]->low; }) };
}

// A cos t + B sin t as a double-double: sin(c + t) with A = S, B = C, and
// cos(c + t) with A = C, B = -S (bSign -1). That is A + B t + B (sin t - t)
// + A (cos t - 1): A + B t carried exactly (B t from the halves of B and t,
// each product of halves exact as in twoProduct; |B t| <= 2^-9 <= |A| or
// A = 0), the rest to well below the result's last bit.
template <class Number>
DoubleDoubleOf<Number> sumAtReduced(const TablePart<Number>& a, const TablePart<Number>& b,
    double bSign, const ReducedArgument<Number>& r)
{
    const Number bt = b.hi * r.t;
    const Number btError
        = ((b.high * r.tHigh - bt) + b.high * r.tHalfLow + b.low * r.tHigh) + b.low * r.tHalfLow;
    const DoubleDoubleOf<Number> sum = fastTwoSum(a.hi, bSign * bt);
    const Number low = sum.lo + bSign * (btError + b.hi * r.tLow + b.lo * r.t + b.hi * r.sinTail)
        + a.lo + a.hi * r.cosTail;
    return DoubleDoubleOf<Number> { sum.hi, low };
}

// sin r into *sinForm and cos r into *cosForm in every lane, each only when
// the pointer is not null.
template <class Number>
__attribute__((always_inline)) inline void formsOfReduced(const ReducedArgument<Number>& r,
    DoubleDoubleOf<Number>* sinForm, DoubleDoubleOf<Number>* cosForm)
{
    const SineTable& table = sineTable();
    const SinePart* sines[Lanes<Number>::COUNT];
    const SinePart* cosines[Lanes<Number>::COUNT];
    for (int lane = 0; lane < Lanes<Number>::COUNT; ++lane) {
        sines[lane] = &table.sine[r.j[lane]];
        cosines[lane] = &table.cosine[r.j[lane]];
    }
    const TablePart<Number> s = tablePartOf<Number>(sines), c = tablePartOf<Number>(cosines);
    if (sinForm) {
        // sin is odd: r's sign, a factor of +-1, is exact.
        const DoubleDoubleOf<Number> value = sumAtReduced(s, c, 1.0, r);
        *sinForm = DoubleDoubleOf<Number> { r.sign * value.hi, r.sign * value.lo };
    }
    if (cosForm)
        *cosForm = sumAtReduced(c, s, -1.0, r);
}

// `a` in the lanes whose bit is set in `lanes`, `b` in the others.
template <class Number>
__attribute__((always_inline)) inline DoubleDoubleOf<Number> chosenLanes(
    unsigned lanes, const DoubleDoubleOf<Number>& a, const DoubleDoubleOf<Number>& b)
{
    typedef Lanes<Number> L;
    const auto pick = [&](const Number& x, const Number& y) {
        return L::fromEach(
            [&](int lane) { return (lanes >> lane) & 1 ? L::get(x, lane) : L::get(y, lane); });
    };
    return DoubleDoubleOf<Number> { pick(a.hi, b.hi), pick(a.lo, b.lo) };
}

// The fast path's steps after the reduction, for every lane of x:
// |x| = k pi/2 + r, with r = hi + lo (|r| < pi/4 + 2^-30, |lo| at most half
// of hi's last bit) within reductionError of the exact value, and k a whole
// number or any other congruent to it modulo 4. The sines into *sine and the
// cosines into *cosine, either null when not wanted. Returns the lanes (bit
// i for lane i) where a wanted result does not round safely, for the slow
// path.
template <class Number>
__attribute__((always_inline)) inline unsigned roundedOfReduced(Number x, Number k,
    const DoubleDoubleOf<Number>& r, Number reductionError, Number* sine, Number* cosine)
{
    const ReducedArgument<Number> reduced = reducedArgument(r.hi, r.lo);
    // By the quadrant q = k mod 4: sin x is sin r, cos r, -sin r, -cos r
    // and cos x is cos r, -sin r, -cos r, sin r; sin is odd. Signs as
    // factors of +-1, which are exact. An error d in r moves sin and cos
    // by at most |d|.
    typedef Lanes<Number> L;
    int quadrant[L::COUNT];
    unsigned evenQuadrants = 0;
    for (int lane = 0; lane < L::COUNT; ++lane) {
        quadrant[lane] = (int)L::get(k, lane) & 3;
        evenQuadrants |= (unsigned)!(quadrant[lane] & 1) << lane;
    }
    const Number sineSign = L::fromEach([&](int lane) {
        return ((quadrant[lane] & 2) != 0) != (L::get(x, lane) < 0) ? -1.0 : 1.0;
    });
    const Number cosineSign
        = L::fromEach([&](int lane) { return ((quadrant[lane] + 1) & 2) ? -1.0 : 1.0; });
    // The forms some lane needs, then each lane its own.
    const unsigned allLanes = (1u << L::COUNT) - 1;
    const bool anyEven = evenQuadrants != 0, anyOdd = evenQuadrants != allLanes;
    DoubleDoubleOf<Number> sinForm {}, cosForm {};
    formsOfReduced(reduced, (sine && anyEven) || (cosine && anyOdd) ? &sinForm : nullptr,
        (sine && anyOdd) || (cosine && anyEven) ? &cosForm : nullptr);
    unsigned failed = 0;
    if (sine) {
        const DoubleDoubleOf<Number> s = chosenLanes(evenQuadrants, sinForm, cosForm);
        failed |= lanesNotRounded(sineSign * s.hi, sineSign * s.lo,
            absoluteOf(s.hi) * SINE_RELATIVE_ERROR + reductionError, sine);
    }
    if (cosine) {
        const DoubleDoubleOf<Number> c = chosenLanes(evenQuadrants, cosForm, sinForm);
        failed |= lanesNotRounded(cosineSign * c.hi, cosineSign * c.lo,
            absoluteOf(c.hi) * SINE_RELATIVE_ERROR + reductionError, cosine);
    }
    return failed;
}

// The fast path for every lane of x, |x| in [2^-27, FAST_REDUCTION_LIMIT),
// as roundedOfReduced.
template <class Number>
__attribute__((always_inline)) inline unsigned fastSinCos(Number x, Number* sine, Number* cosine)
{
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
    const Number magnitude = absoluteOf(x);
    const Number k = wholeOf(magnitude * TWO_OVER_PI + 0.5);
    const Number first = magnitude - k * HALF_PI_1;
    const DoubleDoubleOf<Number> second = twoSum(first, -(k * HALF_PI_2));
    const Number rest = second.lo - k * HALF_PI_3;
    const DoubleDoubleOf<Number> r = twoSum(second.hi, rest);
    const Number reductionError = 0x1p-117 + absoluteOf(rest) * 0x1p-51;
    return roundedOfReduced(x, k, r, reductionError, sine, cosine);
}

// The fast path for FAST_REDUCTION_LIMIT <= |x| < 2^63, where pi/2 in three
// doubles no longer reduces x closely enough: the fixed-point reduction,
// which costs a small part of the fixed-point sine and cosine, then the fast
// path's table, series and rounding check, as roundedOfReduced. The
// reduction's error, with what the double-double leaves out, is below
// 2^-106 |r| + 2^-380; the bound is twice that.
unsigned largeSinCos(double x, double* sine, double* cosine)
{
    int quadrant;
    DoubleDouble r;
    preciseReduction(x, &quadrant, &r);
    const double reductionError = std::fabs(r.hi) * 0x1p-105 + 0x1p-379;
    return roundedOfReduced(x, (double)quadrant, r, reductionError, sine, cosine);
}

// sin x and cos x by the slow path, either pointer null when not wanted.
void slowSinCos(double x, double* sine, double* cosine)
{
    slowResults.fetch_add(1, std::memory_order_relaxed);
    DoubleDouble s, c;
    preciseSinCos(x, &s, &c);
    if (sine)
        *sine = s.hi;
    if (cosine)
        *cosine = c.hi;
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
__attribute__((always_inline)) inline void sinCosRounded(double x, double* sine, double* cosine)
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
    if (magnitude < FAST_REDUCTION_LIMIT ? fastSinCos(x, sine, cosine) == 0
                                         : largeSinCos(x, sine, cosine) == 0)
        return;
    slowSinCos(x, sine, cosine);
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

void roundedSinCosOfTwo(double x0, double x1, double* sines, double* cosines)
{
    const double m0 = std::fabs(x0), m1 = std::fabs(x1);
    // Tiny, huge and non-finite arguments take the one-argument path.
    if (!(m0 >= 0x1p-27 && m0 < FAST_REDUCTION_LIMIT && m1 >= 0x1p-27
            && m1 < FAST_REDUCTION_LIMIT)) {
        roundedSinCos(x0, &sines[0], &cosines[0]);
        roundedSinCos(x1, &sines[1], &cosines[1]);
        return;
    }
    const Pair x = { x0, x1 };
    Pair sine, cosine;
    const unsigned failed = fastSinCos(x, &sine, &cosine);
    for (int lane = 0; lane < 2; ++lane) {
        if ((failed >> lane) & 1) {
            slowSinCos(x[lane], &sines[lane], &cosines[lane]);
            continue;
        }
        sines[lane] = sine[lane];
        cosines[lane] = cosine[lane];
    }
}

int64_t roundedTrigSlowResults()
{
    return slowResults.load(std::memory_order_relaxed);
}
