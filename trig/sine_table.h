// What the rounded sine's fast path works from: pi/2 in parts for the
// reduction, the table of sines and cosines, and the bound on its error.
#pragma once

#include "trig/double_double.h"

// pi/2 in three parts: the first two of 40 and 38 significant bits, so that
// their products with any k < 2^13 are exact doubles, the third rounded.
// What the three leave out is below 2^-134.
const double HALF_PI_1 = 0x1.921fb54442000p+0;
const double HALF_PI_2 = 0x1.a308d31318000p-41;
const double HALF_PI_3 = 0x1.8a2e03707344ap-81;
const double TWO_OVER_PI = 0x1.45f306dc9c883p-1;
// The fast path's reduction is exact enough below this.
const double FAST_REDUCTION_LIMIT = 8192.0;

// sin and cos of 0 .. 201 × 1/256 (to just past pi/4) as double-doubles,
// from the slow path: sin(c + t) and cos(c + t) then need only short series
// in |t| <= 1/512. Each high part is kept split in halves too, as the exact
// products with t need them.
const int SINE_STEPS = 256;
const int SINE_TABLE_SIZE = 203;
struct SinePart {
    DoubleDouble value;
    double high, low; // value.hi in halves
};
struct SineTable {
    SinePart sine[SINE_TABLE_SIZE], cosine[SINE_TABLE_SIZE];
};

// Made on first use, by the slow path.
const SineTable& sineTable();

// The fast path's error, relative to the result: the tables' 2^-106, the
// series' truncation below 2^-80, and the roundings of the terms after the
// leading two, S (cos t - 1) the largest, whose t² alone is rounded by up to
// 2^-53 of 2^-18: in all less than 2^-69.4 of the result, which is at least
// half of S. Measured on millions of arguments it stays below 2^-70; the
// bound leaves a factor 2.6 over the sum.
const double SINE_RELATIVE_ERROR = 0x1p-68;
