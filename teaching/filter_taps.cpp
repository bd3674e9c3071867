#include "teaching/filter_taps.h"

#include <stdio.h>

#include "teaching/portable_math.h"
#include "recon/geometry.h"

const char *const FilterFileNames[FilterKindsAll] = {
    "ramp.txt", "shepp_logan.txt", "cosine.txt", "hamming.txt", "hann.txt", "delta.txt",
    "butterworth.txt",
};

const char *const FilterTitles[FilterKindsAll] = {
    "ramp (Ram-Lak)", "Shepp-Logan", "cosine-windowed ramp",
    "Hamming-windowed ramp", "Hann-windowed ramp", "delta (no filtering)",
    "Butterworth-windowed ramp",
};

const char *const FilterNames[FilterKindsAll] = {
    "ramp", "shepp-logan", "cosine", "hamming", "hann", "delta", "butterworth",
};

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

// Integral over f = 0..top of f cos(2 pi k f) df, for any k.
static double CutRampCosineIntegral(double k, double top) {
    if (k == 0.0) return 0.5 * top * top;
    double w = 2.0 * Pi * k;
    return top * SinDegrees(360.0 * k * top) / w + (CosDegrees(360.0 * k * top) - 1.0) / w / w;
}

// Integral over f = 0..top of sin(2 pi k f) df.
static double SineIntegral(double k, double top) {
    if (k == 0.0) return 0.0;
    return (1.0 - CosDegrees(360.0 * k * top)) / (2.0 * Pi * k);
}

const int SimpsonIntervals = 16384;   // even; about 129 points per period at tap 127

static double ButterworthTap(int n, double top, int order) {
    double sum = 0.0;
    for (int i = 0; i <= SimpsonIntervals; i++) {
        double f = 0.5 * i / SimpsonIntervals;
        double ratio = f / top, power = 1.0;
        for (int k = 0; k < order; k++) power *= ratio * ratio;
        double value = f / (1.0 + power) * CosDegrees(360.0 * n * f);
        sum += (i == 0 || i == SimpsonIntervals ? 1.0 : i % 2 ? 4.0 : 2.0) * value;
    }
    return 2.0 * sum * (0.5 / SimpsonIntervals) / 3.0;
}

double CutFilterTap(int kind, int n, double cutoff, int order) {
    double top = 0.5 * cutoff;     // the highest frequency passed, cycles per bin
    double k = (double)n;
    double m = 1.0 / (2.0 * top);  // cos(pi f / top) = cos(2 pi m f)
    double h = 0.5 * m;            // cos(pi f / (2 top)) = cos(2 pi h f)
    switch (kind) {
    case FilterRamp:
        return 2.0 * CutRampCosineIntegral(k, top);
    // f sinc(pi f / (2 top)) = (2 top / pi) sin(2 pi h f)
    case FilterSheppLogan:
        return 2.0 * top / Pi * (SineIntegral(h + k, top) + SineIntegral(h - k, top));
    case FilterCosine:
        return CutRampCosineIntegral(k + h, top) + CutRampCosineIntegral(k - h, top);
    case FilterHamming:
        return 2.0 * (0.54 * CutRampCosineIntegral(k, top) +
                      0.23 * (CutRampCosineIntegral(k + m, top) + CutRampCosineIntegral(k - m, top)));
    case FilterHann:
        return 2.0 * (0.5 * CutRampCosineIntegral(k, top) +
                      0.25 * (CutRampCosineIntegral(k + m, top) + CutRampCosineIntegral(k - m, top)));
    case FilterButterworth:
        return ButterworthTap(n, top, order);
    default:
        return FilterTap(kind, n);
    }
}

void MakeCutFilterTaps(int kind, double cutoff, int order, int kept, double taps[FilterTapCount]) {
    if (cutoff == 1.0 && kind < FilterKinds) {
        MakeFilterTaps(kind, taps);
    } else {
        double scale = kind == FilterDelta ? 1.0 : PlotTapZero / CutFilterTap(kind, 0, cutoff, order);
        for (int n = 0; n < FilterTapCount; n++) taps[n] = CutFilterTap(kind, n, cutoff, order) * scale;
    }
    for (int n = kept; n < FilterTapCount; n++) taps[n] = 0.0;
}

void MakeFilterTaps(int kind, double taps[FilterTapCount]) {
    double scale = kind == FilterDelta ? 1.0 : PlotTapZero / FilterTap(kind, 0);
    for (int n = 0; n < FilterTapCount; n++) taps[n] = FilterTap(kind, n) * scale;
}

int WriteFilterTapsTo(FILE *file, const double taps[FilterTapCount]) {
    int ok = 1;
    for (int n = 0; n < FilterTapCount && ok; n++) ok = fprintf(file, "%.9g\n", taps[n]) > 0;
    return ok;
}

int WriteFilterFile(const char *path, const double taps[FilterTapCount]) {
    FILE *file = fopen(path, "wb");   // the same bytes, line ends included, on every system
    if (!file) return 0;
    int ok = WriteFilterTapsTo(file, taps);
    if (fclose(file) != 0) ok = 0;
    return ok;
}
