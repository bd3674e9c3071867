// Real-space filter taps for the reconstruction program's filter files: the ramp and
// its windowed forms, and a delta that leaves projections unchanged.
#pragma once
#include <stdio.h>

#include "recon/geometry.h"

// A kind of filter is a row of FilterKindTable; the tool's command, its help and the
// sample folder all go by the table.
struct FilterKind {
    const char *name;           // as typed on the command line
    const char *title;          // as the tool reports what it wrote
    const char *response;       // the frequency response, for the help
    const char *fileName;       // its sample at full cutoff, or null for none
    const char *halfFileName;   // its sample cut at half the Nyquist frequency, or null
    // Tap n at full cutoff in closed form, or null: the kind is made by its cut form.
    double (*tap)(int n);
    // Tap n passing frequencies up to top cycles per bin, or null: the kind has no cutoff.
    double (*cutTap)(int n, double top, int order);
    int takesOrder;             // the order option shapes it
    int plotScaled;             // scaled so that tap 0 is the plot's 10
};

extern const FilterKind FilterKindTable[];
extern const int FilterKindCount;

// Rows of the table that the tests and the samples name.
const int FilterRamp = 0;         // band-limited ramp
const int FilterSheppLogan = 1;   // ramp times a sinc window
const int FilterCosine = 2;       // ramp times cos(pi f)
const int FilterHamming = 3;      // ramp times 0.54 + 0.46 cos(2 pi f)
const int FilterHann = 4;         // ramp times 0.5 + 0.5 cos(2 pi f)
const int FilterButterworth = 5;  // ramp times 1 / (1 + (f / cutoff)^(2 order)), up to Nyquist
const int FilterDelta = 6;        // tap 0 = 1, the rest 0

// The kind named so on the command line, or -1.
int FindFilterKind(const char *name);

const int FilterNameListBytes = 256;
// The names as a sentence ("ramp, ..., butterworth or delta").
const char *FilterNameList();
const int FilterResponseLinesBytes = 2048;
// One line a kind, "  name          response", for the help.
const char *FilterResponseLines();

// Tap n of the filter's impulse response, for bins one unit apart and frequencies f up
// to 1/2 cycle per bin: h(n) = 2 x integral over 0..1/2 of |f| W(f) cos(2 pi f n) df.
double FilterTap(int kind, int n);

// The taps as written to file: the ramp family scaled so that tap 0 is 10 (the
// program plots 10 pixels per unit), the delta as it is.
void MakeFilterTaps(int kind, double taps[FilterTapCount]);

// Tap n of the filter cut off at a fraction of the Nyquist frequency (0 < cutoff <= 1):
// the window is stretched to end at cutoff x 1/2 cycle per bin and the ramp stops
// there; Butterworth's window falls to half its height there (a quarter of the power)
// and the ramp goes on to 1/2.
// order is Butterworth's alone. Closed forms, but Butterworth is integrated
// numerically (Simpson's rule, relative error below 1e-8).
double CutFilterTap(int kind, int n, double cutoff, int order);

// The taps as written to file, scaled as MakeFilterTaps scales them; taps from kept on
// are 0. At full cutoff they are MakeFilterTaps' own.
void MakeCutFilterTaps(int kind, double cutoff, int order, int kept, double taps[FilterTapCount]);

// One tap a line, "%.9g". Returns 1 when the whole file was written and closed.
int WriteFilterFile(const char *path, const double taps[FilterTapCount]);
// The same into an open file, which the caller closes; 1 when every line was written.
int WriteFilterTapsTo(FILE *file, const double taps[FilterTapCount]);
