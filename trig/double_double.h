#pragma once

#include <cfloat>

// Sums and products carried exactly in two doubles: the value is hi + lo,
// lo holding what rounding hi lost. Each step is a handful of IEEE double
// operations whose results the standard defines bit for bit, so these are
// exact on every machine, provided the compiler neither contracts a * b + c
// into one fused operation (the build forbids it) nor keeps doubles in wider
// registers (x86-64 computes in SSE2 doubles).

// Doubles evaluated as doubles, not in wider registers (x87): the build
// targets SSE2 on x86-64, which this checks.
static_assert(FLT_EVAL_METHOD == 0, "double expressions must be evaluated in double");

// hi + lo, lo holding what rounding hi lost: of one double, or lane by
// lane of a vector of them (see fast_path.h), whose operations round each
// lane as the double's do.
template <class Number> struct DoubleDoubleOf {
    Number hi;
    Number lo;
};
typedef DoubleDoubleOf<double> DoubleDouble;

// a + b exactly, for any a and b whose sum does not overflow.
template <class Number> inline DoubleDoubleOf<Number> twoSum(Number a, Number b)
{
    Number sum = a + b;
    Number bPart = sum - a;
    Number aPart = sum - bPart;
    return DoubleDoubleOf<Number> { sum, (a - aPart) + (b - bPart) };
}

// a + b exactly, when |a| >= |b| (or a is 0): three operations instead of six.
template <class Number> inline DoubleDoubleOf<Number> fastTwoSum(Number a, Number b)
{
    Number sum = a + b;
    return DoubleDoubleOf<Number> { sum, b - (sum - a) };
}

// Splits a into two halves of 26 and 27 bits whose sum is a (|a| < 2^995),
// so that products of halves are exact in a double.
template <class Number> inline void splitInHalves(Number a, Number* high, Number* low)
{
    const double SPLITTER = 134217729.0; // 2^27 + 1
    Number scaled = SPLITTER * a;
    *high = scaled - (scaled - a);
    *low = a - *high;
}

// a × b exactly (|a|, |b| < 2^995, no underflow): the rounded product and
// its error, from the four exact products of the halves.
inline DoubleDouble twoProduct(double a, double b)
{
    double product = a * b;
    double aHigh, aLow, bHigh, bLow;
    splitInHalves(a, &aHigh, &aLow);
    splitInHalves(b, &bHigh, &bLow);
    double error = ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
    return DoubleDouble { product, error };
}
