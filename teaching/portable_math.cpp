#include "teaching/portable_math.h"

#include <math.h>

#include "recon/geometry.h"
#include "recon/rotation_trig.h"

// Whole quarter turns are taken off in degrees, exactly, so right angles come out exact;
// the rest is the rotation's cosine and sine.
static void SinCosDegrees(double degrees, double *sine, double *cosine) {
    double d = degrees;
    if (!(d > -1.0e6 && d < 1.0e6)) {   // NaN, infinite, or beyond what the loops reduce
        *sine = *cosine = NAN;
        return;
    }
    while (d >= 360.0) d -= 360.0;
    while (d < 0.0) d += 360.0;
    int quadrant = 0;
    while (d >= 90.0) {
        d -= 90.0;
        quadrant++;
    }
    double s, c;
    RotationCosSin(d * (Pi / 180.0), &c, &s);
    for (int q = 0; q < quadrant; q++) {
        double t = s;
        s = c;
        c = -t;
    }
    *sine = s;
    *cosine = c;
}

double CosDegrees(double degrees) {
    double s, c;
    SinCosDegrees(degrees, &s, &c);
    return c;
}

double SinDegrees(double degrees) {
    double s, c;
    SinCosDegrees(degrees, &s, &c);
    return s;
}

double ExpOfNegative(double x) {
    // Halve the argument below 1/2, sum the series, square back.
    int halvings = 0;
    while (x > 0.5 && halvings < 8) {
        x *= 0.5;
        halvings++;
    }
    double t = 1.0;
    for (int n = 20; n >= 1; n--) t = 1.0 - x / n * t;
    for (int i = 0; i < halvings; i++) t *= t;
    return t;
}

// ln 2 as two doubles, the first with its low bits zero, so that e ln2High is exact for
// every binary exponent e.
const double Ln2High = 0.693147180369123816490;
const double Ln2Low = 1.90821492927058770002e-10;
const double SqrtHalf = 0.70710678118654752440;

double NaturalLog(double x) {
    if (!(x > 0.0) || x > 1.7976931348623157e308) return NAN;
    // x = m 2^e with m in [sqrt(1/2), sqrt(2)); frexp is an exact scaling.
    int e = 0;
    double m = frexp(x, &e);
    if (m < SqrtHalf) {
        m *= 2.0;
        e--;
    }
    // ln m = 2 atanh(z), z = (m - 1) / (m + 1), |z| <= 0.172: the odd series to z^27.
    double z = (m - 1.0) / (m + 1.0), z2 = z * z;
    double t = 1.0 / 27.0;
    for (int n = 25; n >= 1; n -= 2) t = 1.0 / n + z2 * t;
    return e * Ln2High + (2.0 * z * t + e * Ln2Low);
}
