// Pairs of doubles (hi + lo, |lo| <= half an ulp of hi) carry about 106 bits, enough
// that one final rounding gives the correctly rounded result. Only IEEE additions,
// multiplications and divisions are used, so the result cannot depend on the build.
#include "recon/rotation_trig.h"

// pi/2 as the sum of three doubles, each holding the next 53 bits.
const double HalfPi1 = 1.5707963267948966;
const double HalfPi2 = 6.123233995736766e-17;
const double HalfPi3 = -1.4973849048591698e-33;
const int SeriesTermsMax = 30;     // enough for |r| <= pi/4 at 106 bits
const double SplitFactor = 134217729.0;  // 2^27 + 1, splits a double into two halves

struct Pair { double hi, lo; };

static Pair TwoSum(double a, double b) {
    double s = a + b;
    double bb = s - a;
    double e = (a - (s - bb)) + (b - bb);
    return {s, e};
}

static Pair QuickTwoSum(double a, double b) {
    double s = a + b;
    return {s, b - (s - a)};
}

static void Split(double a, double *high, double *low) {
    double t = SplitFactor * a;
    *high = t - (t - a);
    *low = a - *high;
}

static Pair TwoProduct(double a, double b) {
    double p = a * b;
    double ah, al, bh, bl;
    Split(a, &ah, &al);
    Split(b, &bh, &bl);
    double e = ((ah * bh - p) + ah * bl + al * bh) + al * bl;
    return {p, e};
}

static Pair Add(Pair a, Pair b) {
    Pair s = TwoSum(a.hi, b.hi);
    Pair t = TwoSum(a.lo, b.lo);
    s.lo += t.hi;
    s = QuickTwoSum(s.hi, s.lo);
    s.lo += t.lo;
    return QuickTwoSum(s.hi, s.lo);
}

static Pair Negate(Pair a) { return {-a.hi, -a.lo}; }

static Pair Multiply(Pair a, Pair b) {
    Pair p = TwoProduct(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return QuickTwoSum(p.hi, p.lo);
}

static Pair DivideByDouble(Pair a, double b) {
    double q1 = a.hi / b;
    Pair p = TwoProduct(q1, b);
    Pair r = TwoSum(a.hi, -p.hi);
    r.lo -= p.lo;
    r.lo += a.lo;
    double q2 = (r.hi + r.lo) / b;
    return QuickTwoSum(q1, q2);
}

// sum over n of (-1)^n r^(2n+first) / (2n+first)!, first 1 for the sine, 0 for the cosine.
static Pair Series(Pair r, int first) {
    Pair r2 = Multiply(r, r);
    Pair term = first ? r : Pair{1.0, 0.0};
    Pair sum = term;
    int k = first;
    for (int n = 1; n < SeriesTermsMax; n++) {
        term = Negate(DivideByDouble(Multiply(term, r2), (double)((k + 1) * (k + 2))));
        k += 2;
        if (term.hi == 0.0) break;
        sum = Add(sum, term);
    }
    return sum;
}

void RotationCosSin(double theta, double *cosine, double *sine) {
    // Nearest quarter turn k, then r = theta - k pi/2 with |r| <= pi/4. theta - k HalfPi1
    // is exact, since theta lies within a factor of two of k HalfPi1 when k > 0.
    int k = 0;
    if (theta > HalfPi1 * 1.5) k = 2;
    else if (theta > HalfPi1 * 0.5) k = 1;
    Pair r = TwoSum(theta - k * HalfPi1, -k * HalfPi2);
    r = Add(r, Pair{-k * HalfPi3, 0.0});
    Pair s = Series(r, 1);
    Pair c = Series(r, 0);
    if (k == 0) { *cosine = c.hi + c.lo; *sine = s.hi + s.lo; }
    else if (k == 1) { *cosine = -(s.hi + s.lo); *sine = c.hi + c.lo; }
    else { *cosine = -(c.hi + c.lo); *sine = -(s.hi + s.lo); }
}
