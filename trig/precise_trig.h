#pragma once

#include "trig/double_double.h"

// Sine, cosine and arctangent worked out in 448-bit fixed point with integer
// arithmetic only: slow (tens of microseconds) but accurate far beyond what
// rounding to a double needs. They are the slow path of the correctly rounded
// functions (trig/rounded_trig.h) when the fast path cannot decide the
// rounding, the source of the fast path's tables, and the reference the fast
// path is tested against.
//
// Each result is a double-double: hi is the value correctly rounded to
// nearest, lo the rest rounded to nearest.

// sin x and cos x, for 2^-27 <= |x| < 2^63. The argument is reduced by
// multiples of pi/2 known to 448 bits, so the error stays below 2^-380.
void preciseSinCos(double x, DoubleDouble* sine, DoubleDouble* cosine);

// The reduction alone, for 2^-27 <= |x| < 2^63: |x| = k × pi/2 + r with k a
// whole number and |r| <= pi/4 + 2^-380. Gives k mod 4 and r as a
// double-double, hi + lo within 2^-106 |r| + 2^-380 of the exact r.
void preciseReduction(double x, int* quadrant, DoubleDouble* r);

// atan2(y, x) for finite y and x, neither 0. Returns false, leaving *angle
// alone, for other arguments and when the smaller magnitude is less than
// 2^-100 of the larger: then the quotient's bits would run below the fixed
// point's last.
bool preciseAtan2(double y, double x, DoubleDouble* angle);
