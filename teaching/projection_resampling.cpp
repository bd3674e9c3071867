#include "teaching/projection_resampling.h"

#include <math.h>

#include "recon/geometry.h"

float SourceProfiles[SourceViewsMax][SourcePositionsMax];
int SourceViews;
int SourcePositions;
double SourceFirstViewDegrees;
double SourceCentre;
double SourceBinMm;
double SourceRadiusMm;
int SourceDetectors;
int SourceFlipsY;

double SourcePositionMm(double index) {
    double t = index - SourceCentre;
    if (SourceRadiusMm > 0.0) return SourceRadiusMm * sin(t * Pi / SourceDetectors);
    return t * SourceBinMm;
}

double SourceFieldMm() {
    return SourcePositionMm(SourcePositions - 0.5) - SourcePositionMm(-0.5);
}

// The fractional position index of s, or -2 when no position lies there.
static double SourceIndexAt(double mm) {
    if (SourceRadiusMm > 0.0) {
        if (!(fabs(mm) <= SourceRadiusMm)) return -2.0;
        return asin(mm / SourceRadiusMm) * SourceDetectors / Pi + SourceCentre;
    }
    return mm / SourceBinMm + SourceCentre;
}

// View view of the data at s, linear between its positions; 0 beyond the first and last.
static double ProfileAt(int view, double mm) {
    double index = SourceIndexAt(mm);
    if (!(index > -1.0 && index < SourcePositions)) return 0.0;
    int low = (int)floor(index);
    double w = index - low;
    double a = low >= 0 ? SourceProfiles[view][low] : 0.0;
    double b = low + 1 < SourcePositions ? SourceProfiles[view][low + 1] : 0.0;
    return a + w * (b - a);
}

double SourceSampleAt(double gridDegrees, double mm) {
    double phi = SourceFlipsY ? -gridDegrees : gridDegrees;
    // Half a turn on, the same line is seen from the other side: s changes sign.
    double turns = floor((phi - SourceFirstViewDegrees) / 180.0);
    phi -= 180.0 * turns;
    if (fmod(turns, 2.0) != 0.0) mm = -mm;
    double view = (phi - SourceFirstViewDegrees) * SourceViews / 180.0;
    if (view >= SourceViews) {   // rounding at the turn's end
        view = 0.0;
        mm = -mm;
    }
    if (!(view >= 0.0)) view = 0.0;
    int low = (int)view;
    double w = view - low;
    double a = ProfileAt(low, mm);
    if (w == 0.0) return a;
    double b = low + 1 < SourceViews ? ProfileAt(low + 1, mm) : ProfileAt(0, -mm);
    return a + w * (b - a);
}

void ResampleOnto(int views, int positions, double centre, double binMm, float *out) {
    for (int v = 0; v < views; v++)
        for (int p = 0; p < positions; p++)
            out[v * positions + p] = (float)SourceSampleAt(v * 180.0 / views, (p - centre) * binMm);
}
