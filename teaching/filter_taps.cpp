#include "teaching/filter_taps.h"

#include <stdio.h>
#include <string.h>

#include "teaching/portable_math.h"
#include "recon/geometry.h"

const double PlotTapZero = 10.0;   // tap 0 of the ramp family in the files

// Integral over f = 0..1/2 of f cos(2 pi k f) df. The filters need it at whole and
// half-whole k, where the sines and cosines below are exactly 0 or +-1.
static double RampCosineIntegral(double k) {
    if (k == 0.0) return 0.125;
    double w = 2.0 * Pi * k;
    return SinDegrees(180.0 * k) / (2.0 * w) + (CosDegrees(180.0 * k) - 1.0) / (w * w);
}

static double RampTap(int n) { return 2.0 * RampCosineIntegral(n); }

static double SheppLoganTap(int n) {
    double k = (double)n;
    return -2.0 / (Pi * Pi * (4.0 * k * k - 1.0));
}

// cos(pi f) cos(2 pi n f) = (cos(2 pi (n + 1/2) f) + cos(2 pi (n - 1/2) f)) / 2
static double CosineTap(int n) { return RampCosineIntegral(n + 0.5) + RampCosineIntegral(n - 0.5); }

static double HammingTap(int n) {
    return 2.0 * (0.54 * RampCosineIntegral(n) + 0.23 * (RampCosineIntegral(n + 1.0) + RampCosineIntegral(n - 1.0)));
}

static double HannTap(int n) {
    return 2.0 * (0.5 * RampCosineIntegral(n) + 0.25 * (RampCosineIntegral(n + 1.0) + RampCosineIntegral(n - 1.0)));
}

static double DeltaTap(int n) { return n == 0 ? 1.0 : 0.0; }

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

// The windows stretched to end at top: cos(pi f / top) = cos(2 pi m f) and
// cos(pi f / (2 top)) = cos(2 pi h f).
static double WindowM(double top) { return 1.0 / (2.0 * top); }
static double WindowH(double top) { return 0.5 * WindowM(top); }

static double CutRampTap(int n, double top, int) { return 2.0 * CutRampCosineIntegral(n, top); }

// f sinc(pi f / (2 top)) = (2 top / pi) sin(2 pi h f)
static double CutSheppLoganTap(int n, double top, int) {
    double h = WindowH(top);
    return 2.0 * top / Pi * (SineIntegral(h + n, top) + SineIntegral(h - n, top));
}

static double CutCosineTap(int n, double top, int) {
    double h = WindowH(top);
    return CutRampCosineIntegral(n + h, top) + CutRampCosineIntegral(n - h, top);
}

static double CutHammingTap(int n, double top, int) {
    double m = WindowM(top);
    return 2.0 * (0.54 * CutRampCosineIntegral(n, top) +
                  0.23 * (CutRampCosineIntegral(n + m, top) + CutRampCosineIntegral(n - m, top)));
}

static double CutHannTap(int n, double top, int) {
    double m = WindowM(top);
    return 2.0 * (0.5 * CutRampCosineIntegral(n, top) +
                  0.25 * (CutRampCosineIntegral(n + m, top) + CutRampCosineIntegral(n - m, top)));
}

const FilterKind FilterKindTable[] = {
    {"ramp", "ramp (Ram-Lak)", "the band-limited ramp (Ram-Lak): sharpest, and the noisiest", "ramp.txt",
     "ramp_half.txt", RampTap, CutRampTap, 0, 1},
    {"shepp-logan", "Shepp-Logan", "ramp x sinc(pi f / (2 fc))", "shepp_logan.txt", "shepp_logan_half.txt",
     SheppLoganTap, CutSheppLoganTap, 0, 1},
    {"cosine", "cosine-windowed ramp", "ramp x cos(pi f / (2 fc))", "cosine.txt", "cosine_half.txt", CosineTap,
     CutCosineTap, 0, 1},
    {"hamming", "Hamming-windowed ramp", "ramp x (0.54 + 0.46 cos(pi f / fc))", "hamming.txt", "hamming_half.txt",
     HammingTap, CutHammingTap, 0, 1},
    {"hann", "Hann-windowed ramp", "ramp x (0.5 + 0.5 cos(pi f / fc))", "hann.txt", "hann_half.txt", HannTap,
     CutHannTap, 0, 1},
    {"butterworth", "Butterworth-windowed ramp", "ramp x 1 / (1 + (f / fc)^(2 order)), up to Nyquist", nullptr,
     "butterworth_half.txt", nullptr, ButterworthTap, 1, 1},
    {"delta", "delta (no filtering)", "no filtering: filtered backprojection then equals simple", "delta.txt",
     nullptr, DeltaTap, nullptr, 0, 0},
};
const int FilterKindCount = (int)(sizeof FilterKindTable / sizeof FilterKindTable[0]);

int FindFilterKind(const char *name) {
    for (int k = 0; k < FilterKindCount; k++)
        if (strcmp(name, FilterKindTable[k].name) == 0) return k;
    return -1;
}

const char *FilterNameList() {
    static char list[FilterNameListBytes];
    list[0] = 0;
    for (int k = 0; k < FilterKindCount; k++)
        snprintf(list + strlen(list), sizeof list - strlen(list), "%s%s",
                 k == 0 ? "" : k == FilterKindCount - 1 ? " or " : ", ", FilterKindTable[k].name);
    return list;
}

const char *FilterResponseLines() {
    static char lines[FilterResponseLinesBytes];
    lines[0] = 0;
    for (int k = 0; k < FilterKindCount; k++)
        snprintf(lines + strlen(lines), sizeof lines - strlen(lines), "  %-13s %s\n", FilterKindTable[k].name,
                 FilterKindTable[k].response);
    return lines;
}

double FilterTap(int kind, int n) {
    const FilterKind &row = FilterKindTable[kind];
    return row.tap ? row.tap(n) : 0.0;
}

double CutFilterTap(int kind, int n, double cutoff, int order) {
    const FilterKind &row = FilterKindTable[kind];
    return row.cutTap ? row.cutTap(n, 0.5 * cutoff, order) : row.tap(n);
}

void MakeCutFilterTaps(int kind, double cutoff, int order, int kept, double taps[FilterTapCount]) {
    if (cutoff == 1.0 && FilterKindTable[kind].tap) {
        MakeFilterTaps(kind, taps);
    } else {
        double scale = FilterKindTable[kind].plotScaled ? PlotTapZero / CutFilterTap(kind, 0, cutoff, order) : 1.0;
        for (int n = 0; n < FilterTapCount; n++) taps[n] = CutFilterTap(kind, n, cutoff, order) * scale;
    }
    for (int n = kept; n < FilterTapCount; n++) taps[n] = 0.0;
}

void MakeFilterTaps(int kind, double taps[FilterTapCount]) {
    double scale = FilterKindTable[kind].plotScaled ? PlotTapZero / FilterTap(kind, 0) : 1.0;
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
