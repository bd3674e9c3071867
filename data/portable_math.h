// Cosine, sine and exp(-x) from additions, multiplications and divisions only, so the
// generated samples come out the same bytes from every build and C library.
#pragma once

double CosDegrees(double degrees);
double SinDegrees(double degrees);

// e^-x for 0 <= x <= 64; relative error about 1e-14.
double ExpOfNegative(double x);
