// Cosine, sine, exp(-x) and the logarithm from additions, multiplications, divisions and
// exact scalings only, so the generated samples come out the same bytes from every build
// and C library. The cosine and sine are the rotation's (recon/rotation_trig.h).
#pragma once

double CosDegrees(double degrees);
double SinDegrees(double degrees);

// e^-x for 0 <= x <= 64; relative error about 1e-14.
double ExpOfNegative(double x);

// The natural logarithm of x > 0 (finite); relative error about 1e-15. NaN for x <= 0,
// NaN or infinity.
double NaturalLog(double x);
