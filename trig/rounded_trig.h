#pragma once

#include <cstdint>

// Sine, cosine and arctangent correctly rounded to nearest: each result is
// the double nearest the exact value for the double argument. That is the
// one definition every machine can meet, so the engine's trigonometry gives
// the same bits on every processor, C library and compiler, where the
// system's functions differ in the last bit from one to the next.
//
// The engine's domain, where correct rounding is promised and tested:
// - sin and cos for |x| < 8192: the sine and deform tables take
//   i × 6.283185308 × waves ÷ side for i < side and waves <= 100, so
//   0 <= x < 629; the twirl takes its swirl's sine in [-pi/2, 3pi/2) and the
//   cosine and sine of angles within pi + 4 of 0.
// - atan2 for every pair of finite doubles whose smaller magnitude is at
//   least 2^-100 of the larger, and for zeros and infinities as the C
//   library defines them: the twirl takes atan2(b, +-a) of whole numbers
//   0 <= a, b <= 8192.
// Beyond it results stay deterministic, the same bits everywhere:
// - sin and cos are still correctly rounded for 8192 <= |x| < 2^63 (the
//   reduction by the slow path's fixed point, the rest by the fast path
//   with its rounding check). From 2^63 on, where a double's last bit
//   exceeds 2048 and a sine means nothing, x is first reduced modulo 2^62,
//   exactly, so results stay in [-1, 1] but are no longer the sine of x.
//   NaN and infinities give NaN.
// - atan2 with magnitudes further apart gives a result of the fast path
//   without the rounding check: within a few units in the last place.

// sin x.
double roundedSin(double x);

// cos x.
double roundedCos(double x);

// sin x and cos x at once, sharing the reduction of x.
void roundedSinCos(double x, double* sine, double* cosine);

// sin and cos of x0 and x1 at once, into sines[0..1] and cosines[0..1]: the
// steps of roundedSinCos in two lanes of a vector register, so the very
// bits, in less time than two calls.
void roundedSinCosOfTwo(double x0, double x1, double* sines, double* cosines);

// atan2(y, x): the angle of the point (x, y), in [-pi, pi].
double roundedAtan2(double y, double x);

// atan2(y, x) and atan2(y, -x) at once, sharing the arctangent of |y/x|:
// the angles of a point and of its mirror image across the vertical axis.
void roundedAtan2Mirrored(double y, double x, double* angle, double* mirrored);

// How many results so far the fast path could not round and the slow one
// worked out; for tests and measurements.
int64_t roundedTrigSlowResults();
