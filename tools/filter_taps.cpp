#include "tools/filter_taps.h"

#include <stdio.h>

#include "tools/portable_math.h"

const char *const FilterFileNames[FilterKinds] = {
    "ramp.txt", "shepp_logan.txt", "cosine.txt", "hamming.txt", "hann.txt", "delta.txt",
};

const char *const FilterTitles[FilterKinds] = {
    "ramp (Ram-Lak)", "Shepp-Logan", "cosine-windowed ramp",
    "Hamming-windowed ramp", "Hann-windowed ramp", "delta (no filtering)",
};

const double Pi = 3.14159265358979323846;
const double PlotTapZero = 10.0;   // tap 0 of the ramp family in the files

// Integral over f = 0..1/2 of f cos(2 pi k f) df. The filters need it at whole and
// half-whole k, where the sines and cosines below are exactly 0 or +-1.
static double RampCosineIntegral(double k) {
    if (k == 0.0) return 0.125;
    double w = 2.0 * Pi * k;
    return SinDegrees(180.0 * k) / (2.0 * w) + (CosDegrees(180.0 * k) - 1.0) / (w * w);
}

double FilterTap(int kind, int n) {
    double k = (double)n;
    switch (kind) {
    case FilterRamp:
        return 2.0 * RampCosineIntegral(k);
    case FilterSheppLogan:
        return -2.0 / (Pi * Pi * (4.0 * k * k - 1.0));
    // cos(pi f) cos(2 pi n f) = (cos(2 pi (n + 1/2) f) + cos(2 pi (n - 1/2) f)) / 2
    case FilterCosine:
        return RampCosineIntegral(k + 0.5) + RampCosineIntegral(k - 0.5);
    case FilterHamming:
        return 2.0 * (0.54 * RampCosineIntegral(k) +
                      0.23 * (RampCosineIntegral(k + 1.0) + RampCosineIntegral(k - 1.0)));
    case FilterHann:
        return 2.0 * (0.5 * RampCosineIntegral(k) +
                      0.25 * (RampCosineIntegral(k + 1.0) + RampCosineIntegral(k - 1.0)));
    case FilterDelta:
        return n == 0 ? 1.0 : 0.0;
    default:
        return 0.0;
    }
}

void MakeFilterTaps(int kind, double taps[FilterTapCount]) {
    double scale = kind == FilterDelta ? 1.0 : PlotTapZero / FilterTap(kind, 0);
    for (int n = 0; n < FilterTapCount; n++) taps[n] = FilterTap(kind, n) * scale;
}

int WriteFilterFile(const char *path, const double taps[FilterTapCount]) {
    FILE *file = fopen(path, "wb");   // the same bytes, line ends included, on every system
    if (!file) return 0;
    int ok = 1;
    for (int n = 0; n < FilterTapCount && ok; n++) ok = fprintf(file, "%.9g\n", taps[n]) > 0;
    if (fclose(file) != 0) ok = 0;
    return ok;
}
