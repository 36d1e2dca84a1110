#include <cmath>
#include <cstdint>

#include "trig/rounded_trig.h"
#include "trig/sine_table.h"

// The sine and cosine of two arguments at once: the twirl needs four of them
// per four pixels, and two lanes of the processor's vector unit cost little
// more than one. Each lane does exactly the operations roundedSinCos does, in
// the same order: vector additions and products round each lane as the scalar
// ones do, so the bits are the same (the unit tests compare them). On a
// processor without vector registers the compiler works the lanes one after
// the other, to the same results.

namespace {

typedef double Pair __attribute__((vector_size(16)));

// Which lanes are odd, negative or failed, as -1 (true) or 0.
typedef int64_t PairMask __attribute__((vector_size(16)));

struct PairDoubleDouble {
    Pair hi, lo;
};

// As twoSum, fastTwoSum and splitInHalves, lane by lane.
inline PairDoubleDouble twoSumOfPair(Pair a, Pair b)
{
    Pair sum = a + b;
    Pair bPart = sum - a;
    Pair aPart = sum - bPart;
    return PairDoubleDouble { sum, (a - aPart) + (b - bPart) };
}

inline PairDoubleDouble fastTwoSumOfPair(Pair a, Pair b)
{
    Pair sum = a + b;
    return PairDoubleDouble { sum, b - (sum - a) };
}

inline void splitPairInHalves(Pair a, Pair* high, Pair* low)
{
    Pair scaled = 134217729.0 * a; // 2^27 + 1
    *high = scaled - (scaled - a);
    *low = a - *high;
}

// One table entry of each lane's j, as a pair.
struct PairPart {
    Pair hi, lo, high, low;
};

inline PairPart partsOf(const SinePart* parts, int j0, int j1)
{
    const SinePart& a = parts[j0];
    const SinePart& b = parts[j1];
    return PairPart { Pair { a.value.hi, b.value.hi }, Pair { a.value.lo, b.value.lo },
        Pair { a.high, b.high }, Pair { a.low, b.low } };
}

// The reduced argument's pieces, as reducedArgument makes them.
struct PairReduced {
    Pair sign, t, tLow, tHigh, tHalfLow, sinTail, cosTail;
    int j[2];
};

// As sumAtReduced: A cos t + B sin t, bSign +1 or -1 for every lane.
inline PairDoubleDouble sumOfPair(
    const PairPart& a, const PairPart& b, double bSign, const PairReduced& r)
{
    Pair bt = b.hi * r.t;
    Pair btError
        = ((b.high * r.tHigh - bt) + b.high * r.tHalfLow + b.low * r.tHigh) + b.low * r.tHalfLow;
    PairDoubleDouble sum = fastTwoSumOfPair(a.hi, bSign * bt);
    Pair low = sum.lo + bSign * (btError + b.hi * r.tLow + b.lo * r.t + b.hi * r.sinTail) + a.lo
        + a.hi * r.cosTail;
    return PairDoubleDouble { sum.hi, low };
}

// As roundsTheSameWithin; the lanes that do not round safely come back true.
inline PairMask roundPair(Pair hi, Pair lo, Pair error, Pair* rounded)
{
    Pair low = hi + (lo - error);
    Pair high = hi + (lo + error);
    *rounded = low;
    return low != high;
}

inline Pair absoluteOf(Pair x)
{
    return Pair { std::fabs(x[0]), std::fabs(x[1]) };
}

} // namespace

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
    const Pair magnitude = { m0, m1 };
    // The reduction, as in the one-argument path.
    const Pair estimate = magnitude * TWO_OVER_PI + 0.5;
    const int64_t k0 = (int64_t)estimate[0], k1 = (int64_t)estimate[1];
    const Pair k = { (double)k0, (double)k1 };
    Pair first = magnitude - k * HALF_PI_1;
    PairDoubleDouble second = twoSumOfPair(first, -(k * HALF_PI_2));
    Pair rest = second.lo - k * HALF_PI_3;
    PairDoubleDouble r = twoSumOfPair(second.hi, rest);
    Pair reductionError = 0x1p-117 + absoluteOf(rest) * 0x1p-51;

    PairReduced reduced {};
    reduced.sign = Pair { r.hi[0] < 0 ? -1.0 : 1.0, r.hi[1] < 0 ? -1.0 : 1.0 };
    Pair hi = r.hi * reduced.sign;
    Pair scaled = hi * (double)SINE_STEPS + 0.5;
    reduced.j[0] = (int)scaled[0];
    reduced.j[1] = (int)scaled[1];
    reduced.t = hi - Pair { (double)reduced.j[0], (double)reduced.j[1] } / (double)SINE_STEPS;
    reduced.tLow = r.lo * reduced.sign;
    splitPairInHalves(reduced.t, &reduced.tHigh, &reduced.tHalfLow);
    Pair t = reduced.t, t2 = t * t;
    reduced.sinTail = t * t2 * (-1.0 / 6 + t2 * (1.0 / 120 - t2 * (1.0 / 5040)));
    reduced.cosTail = -(0.5 * t2 + t * reduced.tLow) + t2 * t2 * (1.0 / 24 - t2 * (1.0 / 720));

    // Both forms in both lanes: sin r (odd, so signed) and cos r.
    const SineTable& table = sineTable();
    PairPart s = partsOf(table.sine, reduced.j[0], reduced.j[1]);
    PairPart c = partsOf(table.cosine, reduced.j[0], reduced.j[1]);
    PairDoubleDouble sinForm = sumOfPair(s, c, 1.0, reduced);
    sinForm = PairDoubleDouble { reduced.sign * sinForm.hi, reduced.sign * sinForm.lo };
    PairDoubleDouble cosForm = sumOfPair(c, s, -1.0, reduced);

    // By each lane's quadrant q: sin x is sin r, cos r, -sin r, -cos r and
    // cos x is cos r, -sin r, -cos r, sin r.
    const int q[2] = { (int)k0 & 3, (int)k1 & 3 };
    const double xs[2] = { x0, x1 };
    PairDoubleDouble sine {}, cosine {};
    Pair sineSign {}, cosineSign {};
    for (int lane = 0; lane < 2; ++lane) {
        const bool odd = q[lane] & 1;
        sine.hi[lane] = odd ? cosForm.hi[lane] : sinForm.hi[lane];
        sine.lo[lane] = odd ? cosForm.lo[lane] : sinForm.lo[lane];
        cosine.hi[lane] = odd ? sinForm.hi[lane] : cosForm.hi[lane];
        cosine.lo[lane] = odd ? sinForm.lo[lane] : cosForm.lo[lane];
        sineSign[lane] = ((q[lane] & 2) != 0) != (xs[lane] < 0) ? -1.0 : 1.0;
        cosineSign[lane] = ((q[lane] + 1) & 2) ? -1.0 : 1.0;
    }
    Pair roundedSine {}, roundedCosine {};
    PairMask sineFailed = roundPair(sineSign * sine.hi, sineSign * sine.lo,
        absoluteOf(sine.hi) * SINE_RELATIVE_ERROR + reductionError, &roundedSine);
    PairMask cosineFailed = roundPair(cosineSign * cosine.hi, cosineSign * cosine.lo,
        absoluteOf(cosine.hi) * SINE_RELATIVE_ERROR + reductionError, &roundedCosine);
    for (int lane = 0; lane < 2; ++lane) {
        if (sineFailed[lane] || cosineFailed[lane]) {
            roundedSinCos(xs[lane], &sines[lane], &cosines[lane]);
            continue;
        }
        sines[lane] = roundedSine[lane];
        cosines[lane] = roundedCosine[lane];
    }
}
