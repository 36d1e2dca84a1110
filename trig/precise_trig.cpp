#include "trig/precise_trig.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// A non-negative number in fixed point: 16 limbs of 32 bits, the most
// significant first, the binary point after the second. So 64 integer bits
// and 448 fraction bits; every operation truncates, so each loses less than
// 2^-448.
const int LIMBS = 16;
const int FRACTION_BITS = 448;
struct Fixed {
    uint32_t limb[LIMBS];
};

// pi/2 and 2/pi truncated to 448 fraction bits (made with an arbitrary
// precision library: floor(v * 2^448) in base 2^32).
const Fixed HALF_PI = { { 0x00000000, 0x00000001, 0x921fb544, 0x42d18469, 0x898cc517, 0x01b839a2,
    0x52049c11, 0x14cf98e8, 0x04177d4c, 0x76273644, 0xa29410f3, 0x1c6809bb, 0xdf2a3367, 0x9a748636,
    0x605614db, 0xe4be286e } };
const Fixed TWO_OVER_PI = { { 0x00000000, 0x00000000, 0xa2f9836e, 0x4e441529, 0xfc2757d1,
    0xf534ddc0, 0xdb629599, 0x3c439041, 0xfe5163ab, 0xdebbc561, 0xb7246e3a, 0x424dd2e0, 0x06492eea,
    0x09d1921c, 0xfe1deb1c, 0xb129a73e } };

Fixed zero()
{
    Fixed f;
    std::memset(f.limb, 0, sizeof f.limb);
    return f;
}

Fixed one()
{
    Fixed f = zero();
    f.limb[1] = 1;
    return f;
}

bool isZero(const Fixed& f)
{
    for (uint32_t limb : f.limb)
        if (limb)
            return false;
    return true;
}

bool isLess(const Fixed& a, const Fixed& b)
{
    for (int i = 0; i < LIMBS; ++i)
        if (a.limb[i] != b.limb[i])
            return a.limb[i] < b.limb[i];
    return false;
}

Fixed plus(const Fixed& a, const Fixed& b)
{
    Fixed sum;
    uint64_t carry = 0;
    for (int i = LIMBS - 1; i >= 0; --i) {
        carry += (uint64_t)a.limb[i] + b.limb[i];
        sum.limb[i] = (uint32_t)carry;
        carry >>= 32;
    }
    return sum;
}

// a - b, for a >= b.
Fixed minus(const Fixed& a, const Fixed& b)
{
    Fixed difference;
    int64_t borrow = 0;
    for (int i = LIMBS - 1; i >= 0; --i) {
        int64_t limb = (int64_t)a.limb[i] - b.limb[i] - borrow;
        borrow = limb < 0;
        difference.limb[i] = (uint32_t)(limb + (borrow << 32));
    }
    return difference;
}

// |a - b| and whether a < b.
Fixed distance(const Fixed& a, const Fixed& b, bool* negative)
{
    *negative = isLess(a, b);
    return *negative ? minus(b, a) : minus(a, b);
}

// a × b, truncated to the fixed point's last bit. Limb i of a times limb j
// of b weighs 2^(32 × (2 - i - j)): its low half falls in the result's limb
// i + j - 1, its high half in limb i + j - 2. Columns are numbered from two
// limbs above the result's first, and each takes at most 32 halves below
// 2^32, so its sum stays below 2^37; the columns below the last kept limb are
// summed too, so that only the final truncation loses anything.
Fixed times(const Fixed& a, const Fixed& b)
{
    uint64_t columns[2 * LIMBS] = {};
    for (int i = 0; i < LIMBS; ++i) {
        if (!a.limb[i])
            continue;
        for (int j = 0; j < LIMBS; ++j) {
            uint64_t product = (uint64_t)a.limb[i] * b.limb[j];
            columns[i + j + 1] += product & 0xffffffffu;
            columns[i + j] += product >> 32;
        }
    }
    Fixed result = zero();
    uint64_t carry = 0;
    for (int column = 2 * LIMBS - 1; column >= 2; --column) {
        uint64_t sum = columns[column] + carry;
        if (column - 2 < LIMBS)
            result.limb[column - 2] = (uint32_t)sum;
        carry = sum >> 32;
    }
    return result;
}

// a × n for a whole number n < 2^32.
Fixed timesSmall(const Fixed& a, uint32_t n)
{
    Fixed product;
    uint64_t carry = 0;
    for (int i = LIMBS - 1; i >= 0; --i) {
        carry += (uint64_t)a.limb[i] * n;
        product.limb[i] = (uint32_t)carry;
        carry >>= 32;
    }
    return product;
}

// a ÷ n for a whole number 0 < n < 2^32, truncated.
Fixed dividedBy(const Fixed& a, uint32_t n)
{
    Fixed quotient;
    uint64_t remainder = 0;
    for (int i = 0; i < LIMBS; ++i) {
        uint64_t part = (remainder << 32) | a.limb[i];
        quotient.limb[i] = (uint32_t)(part / n);
        remainder = part % n;
    }
    return quotient;
}

// Adds m × 2^shift, in units of the fixed point's last bit, dropping the
// bits that fall below it.
void addShifted(Fixed* f, uint64_t m, int shift)
{
    if (shift < 0) {
        if (shift <= -64)
            return;
        m >>= -shift;
        shift = 0;
    }
    // m × 2^(shift mod 32) in three limbs, added from the limb of weight
    // 2^(shift - shift mod 32) up with the carry; what would fall above the
    // top limb is dropped, as plus drops it.
    const unsigned __int128 value = (unsigned __int128)m << (shift % 32);
    int index = LIMBS - 1 - shift / 32;
    uint64_t carry = 0;
    for (int part = 0; index >= 0 && (part < 3 || carry); ++part, --index) {
        carry += f->limb[index];
        if (part < 3)
            carry += (uint32_t)(value >> (32 * part));
        f->limb[index] = (uint32_t)carry;
        carry >>= 32;
    }
}

// A finite double as its whole significand m and exponent e: |x| = m × 2^e.
void decompose(double x, uint64_t* m, int* e)
{
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    int biased = (int)((bits >> 52) & 0x7ff);
    *m = bits & ((1ull << 52) - 1);
    if (biased) {
        *m |= 1ull << 52;
        *e = biased - 1075;
    } else {
        *e = -1074;
    }
}

// |x| exactly, for 2^-396 <= |x| < 2^64.
Fixed fixedOf(double x)
{
    uint64_t m;
    int e;
    decompose(x, &m, &e);
    Fixed f = zero();
    addShifted(&f, m, e + FRACTION_BITS);
    return f;
}

// The value correctly rounded to a double, ties to even: the fixed value
// stands for a transcendental number, so a tie means only that the error is
// below the last bit, and any fixed rule keeps the result the same
// everywhere.
double roundedToDouble(const Fixed& f)
{
    int top = -1;
    for (int i = 0; i < LIMBS && top < 0; ++i)
        if (f.limb[i])
            top = 32 * (LIMBS - 1 - i) + 31 - __builtin_clz(f.limb[i]);
    if (top < 0)
        return 0.0;
    auto bitAt
        = [&](int position) { return (f.limb[LIMBS - 1 - position / 32] >> (position % 32)) & 1; };
    int lowest = top - 52; // the significand's last bit
    uint64_t m = 0;
    for (int position = top; position >= lowest && position >= 0; --position)
        m = (m << 1) | bitAt(position);
    if (lowest <= 0)
        return std::ldexp((double)m, -FRACTION_BITS + (lowest < 0 ? 0 : lowest));
    bool half = bitAt(lowest - 1);
    bool sticky = false;
    for (int position = lowest - 2; position >= 0 && !sticky; --position)
        sticky = bitAt(position);
    if (half && (sticky || (m & 1)))
        ++m; // 2^53 after a carry is still exact
    return std::ldexp((double)m, lowest - FRACTION_BITS);
}

// The value as a double-double whose hi is the correctly rounded value.
DoubleDouble splitIntoDoubles(const Fixed& f, bool negative)
{
    double hi = roundedToDouble(f);
    bool below;
    Fixed rest = distance(f, fixedOf(hi), &below);
    double lo = roundedToDouble(rest);
    if (below)
        lo = -lo;
    if (negative)
        return DoubleDouble { -hi, -lo };
    return DoubleDouble { hi, lo };
}

// sin r and cos r for 0 <= r <= pi/4 + a little, by their Taylor series: the
// terms fall by at least 4 bits each, and the sums alternate, staying
// positive, so 448 bits need about 70 terms.
void sinCosOfReduced(const Fixed& r, Fixed* sine, Fixed* cosine)
{
    Fixed squared = times(r, r);
    Fixed term = r;
    *sine = r;
    for (uint32_t n = 1; !isZero(term); ++n) {
        term = dividedBy(times(term, squared), (2 * n) * (2 * n + 1));
        *sine = n % 2 ? minus(*sine, term) : plus(*sine, term);
    }
    term = one();
    *cosine = one();
    for (uint32_t n = 1; !isZero(term); ++n) {
        term = dividedBy(times(term, squared), (2 * n - 1) * (2 * n));
        *cosine = n % 2 ? minus(*cosine, term) : plus(*cosine, term);
    }
}

// atan a for 0 <= a <= 0.43 by its Taylor series: the powers fall by at
// least 2.4 bits each, so about 190 terms.
Fixed atanOfSmall(const Fixed& a)
{
    Fixed squared = times(a, a);
    Fixed power = a;
    Fixed sum = a;
    for (uint32_t n = 1; !isZero(power); ++n) {
        power = times(power, squared);
        Fixed term = dividedBy(power, 2 * n + 1);
        sum = n % 2 ? minus(sum, term) : plus(sum, term);
    }
    return sum;
}

// p ÷ q × 2^shift truncated, for whole numbers p < 2^62 and 0 < q < 2^62, by
// long division, one bit at a time.
Fixed ratio(uint64_t p, uint64_t q, int shift)
{
    Fixed f = zero();
    addShifted(&f, p / q, shift + FRACTION_BITS);
    uint64_t remainder = p % q;
    for (int position = shift + FRACTION_BITS - 1; position >= 0 && remainder; --position) {
        remainder <<= 1; // below 2^63: remainder < q < 2^62
        if (remainder >= q) {
            remainder -= q;
            if (position < 32 * LIMBS)
                addShifted(&f, 1, position);
        }
    }
    return f;
}

// |r| for r = |x| - k × pi/2, with k the nearest whole number to |x| × 2/pi
// and *negative set where r < 0. 2/pi is good to 2^-448, so k is the
// nearest or, in a near tie, the next, where either keeps |r| within
// pi/4 + 2^-380.
Fixed reducedArgument(double x, uint64_t* quotientK, bool* negative)
{
    Fixed magnitude = fixedOf(x);
    Fixed quotient = times(magnitude, TWO_OVER_PI);
    Fixed half = zero();
    half.limb[2] = 0x80000000u;
    quotient = plus(quotient, half);
    uint64_t k = ((uint64_t)quotient.limb[0] << 32) | quotient.limb[1];
    // k × pi/2 from k's two 32-bit halves, the high one a limb further up.
    Fixed highPart = timesSmall(HALF_PI, (uint32_t)(k >> 32));
    for (int i = 0; i < LIMBS - 1; ++i)
        highPart.limb[i] = highPart.limb[i + 1];
    highPart.limb[LIMBS - 1] = 0;
    Fixed multiple = plus(timesSmall(HALF_PI, (uint32_t)k), highPart);
    *quotientK = k;
    return distance(magnitude, multiple, negative);
}

} // namespace

void preciseReduction(double x, int* quadrant, DoubleDouble* r)
{
    uint64_t k;
    bool negative;
    Fixed magnitude = reducedArgument(x, &k, &negative);
    *quadrant = (int)(k & 3);
    *r = splitIntoDoubles(magnitude, negative);
}

void preciseSinCos(double x, DoubleDouble* sine, DoubleDouble* cosine)
{
    uint64_t k;
    bool negative;
    Fixed r = reducedArgument(x, &k, &negative);
    Fixed sinR, cosR;
    sinCosOfReduced(r, &sinR, &cosR);
    // sin(k pi/2 + r) and cos(k pi/2 + r) by the quadrant k mod 4; sin r
    // takes r's sign, and sin x the sign of x.
    bool sinRNegative = negative;
    bool xNegative = std::signbit(x);
    switch (k & 3) {
    case 0:
        *sine = splitIntoDoubles(sinR, sinRNegative != xNegative);
        *cosine = splitIntoDoubles(cosR, false);
        break;
    case 1:
        *sine = splitIntoDoubles(cosR, xNegative);
        *cosine = splitIntoDoubles(sinR, !sinRNegative);
        break;
    case 2:
        *sine = splitIntoDoubles(sinR, sinRNegative == xNegative);
        *cosine = splitIntoDoubles(cosR, true);
        break;
    default:
        *sine = splitIntoDoubles(cosR, !xNegative);
        *cosine = splitIntoDoubles(sinR, sinRNegative);
        break;
    }
}

bool preciseAtan2(double y, double x, DoubleDouble* angle)
{
    // atan2 by its first octant: with a = min(|y|, |x|), b = max(...),
    // atan(a/b), then pi/2 minus it above the diagonal, pi minus that left
    // of the axis, and y's sign.
    double ay = std::fabs(y), ax = std::fabs(x);
    if (!(ay > 0.0 && ax > 0.0 && std::isfinite(ay) && std::isfinite(ax)))
        return false;
    bool steep = ay > ax;
    uint64_t mA, mB;
    int eA, eB;
    decompose(steep ? ax : ay, &mA, &eA);
    decompose(steep ? ay : ax, &mB, &eB);
    int shift = eA - eB; // a/b = mA/mB × 2^shift
    if (shift + 53 < -100)
        return false;
    Fixed q = ratio(mA, mB, shift);
    Fixed fourTenths = dividedBy(timesSmall(one(), 2), 5);
    Fixed angleOfQ;
    if (isLess(q, fourTenths)) {
        angleOfQ = atanOfSmall(q);
    } else {
        // atan q = pi/4 - atan((1 - q)/(1 + q)), whose argument is at most
        // 0.43. q >= 0.4 keeps the shift within 2 bits, so a and b are whole
        // numbers below 2^56 on a common scale.
        uint64_t p = shift >= 0 ? mA << shift : mA;
        uint64_t d = shift >= 0 ? mB : mB << -shift;
        Fixed quarterPi = dividedBy(HALF_PI, 2);
        angleOfQ = minus(quarterPi, atanOfSmall(ratio(d - p, d + p, 0)));
    }
    if (steep)
        angleOfQ = minus(HALF_PI, angleOfQ);
    if (std::signbit(x))
        angleOfQ = minus(timesSmall(HALF_PI, 2), angleOfQ);
    *angle = splitIntoDoubles(angleOfQ, std::signbit(y));
    return true;
}
