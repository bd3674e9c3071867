#include "teaching/mlem.h"

#include <math.h>
#include <string.h>

#include "teaching/picture_projection.h"
#include "teaching/portable_math.h"

thread_local double MlemImage[ImageSide][ImageSide];
thread_local float MlemCounts[Angles][Bins];
thread_local float MlemFactor[Angles][Bins];
thread_local float MlemAdditive[Angles][Bins];
thread_local double MlemExpected[Angles][Bins];
thread_local double MlemLogLikelihood;
void (*MlemUpdateWatch)(int subset, const double backprojection[ImageSide][ImageSide],
                        const float sensitivity[ImageSide][ImageSide]);

// The square grid looks the same turned a quarter or mirrored, so the chords of the
// angles from 0 to 45 degrees serve all the others, read through a turned or mirrored
// copy of the image. From 0 to 45 degrees a line crosses each image row Q (a band one
// pixel high) over less than a pixel's width: within two neighbouring pixels.
const int EighthTurn = Angles / 4;      // angle index of 45 degrees
const int QuarterTurn = Angles / 2;     // ... of 90 degrees
const int BaseAngles = EighthTurn + 1;  // 0 to 45 degrees
const int Orientations = 4;             // as it is, transposed, turned a quarter, mirrored
const int PaddedSide = ImageSide + 2;   // a column of zeros either side, where lines leave the square
const int HalfSide = ImageSide / 2;     // the square spans -HalfSide to HalfSide pixels
static_assert(Angles % 4 == 0 && ImageSide % 2 == 0, "the grid's symmetries about its centre, the rotation centre");

static int ChordsReady;                                 // the table below is built
static double BandChord[BaseAngles];                    // a line's length within one band: 1 / cos
static short LineFirstBand[BaseAngles][Bins];           // the bands (rows Q) a line crosses inside the square ...
static short LineEndBand[BaseAngles][Bins];             // ... up to, not including, this one
static short BandColumn[BaseAngles][Bins][ImageSide];   // padded column of the leftmost pixel it crosses in a band
static float BandLeft[BaseAngles][Bins][ImageSide];     // chord through that pixel; the rest is in the next column

static thread_local double Oriented[Orientations][ImageSide][PaddedSide];  // MlemImage as each orientation's base angles see it, [band][padded column]
static thread_local double Backed[Orientations][ImageSide][PaddedSide];    // backprojections, laid out alike
static thread_local double Backprojection[ImageSide][ImageSide];           // [P][Q] their sum
static thread_local unsigned char InField[ImageSide][ImageSide];           // [P][Q] 1 where the pixel's centre is in the round field
static thread_local float Sensitivity[SubsetsMax][ImageSide][ImageSide];   // [subset][P][Q] its lines' chords times their factors
static thread_local int SubsetCount;                                       // 1 for MLEM
static thread_local int ExpectedCurrent;                                   // MlemExpected is that of MlemImage

void PrepareChords() {
    if (ChordsReady) return;
    for (int a = 0; a < BaseAngles; a++) {
        double c = CosDegrees(a * AngleStepDegrees), s = SinDegrees(a * AngleStepDegrees);
        BandChord[a] = 1.0 / c;
        for (int r = 0; r < Bins; r++) {
            double t = r - RotationCentre;
            int first = ImageSide, end = 0;
            for (int k = 0; k < ImageSide; k++) {
                // Band k spans y = k - HalfSide to k - HalfSide + 1; x falls from high to low across it.
                double low = (t - (k - HalfSide + 1) * s) / c, high = (t - (k - HalfSide) * s) / c;
                BandColumn[a][r][k] = 0;
                BandLeft[a][r][k] = 0.0f;
                if (!(high > -HalfSide && low < HalfSide)) continue;
                if (k < first) first = k;
                end = k + 1;
                double column = floor(low + HalfSide);   // -1 to ImageSide - 1
                double edge = column + 1.0 - HalfSide;    // x of its right edge
                BandColumn[a][r][k] = (short)(column + 1.0);
                BandLeft[a][r][k] = (float)(high <= edge ? BandChord[a] : (edge - low) / s);
            }
            LineFirstBand[a][r] = (short)first;
            LineEndBand[a][r] = (short)(end > first ? end : first);
        }
    }
    ChordsReady = 1;
}

// Angle 64 - a sees pixel (P, Q) where angle a sees (Q, P); angle a + 64 where a sees
// (Q, 255 - P); angle 128 - a where a sees (255 - P, Q).
static void AngleOrientation(int angle, int *orientation, int *base) {
    if (angle <= EighthTurn) {
        *orientation = 0;
        *base = angle;
    } else if (angle < QuarterTurn) {
        *orientation = 1;
        *base = QuarterTurn - angle;
    } else if (angle <= QuarterTurn + EighthTurn) {
        *orientation = 2;
        *base = angle - QuarterTurn;
    } else {
        *orientation = 3;
        *base = Angles - angle;
    }
}

static void OrientImage() {
    const int last = ImageSide - 1;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            double v = MlemImage[p][q];
            Oriented[0][q][p + 1] = v;
            Oriented[1][p][q + 1] = v;
            Oriented[2][last - p][q + 1] = v;
            Oriented[3][q][last - p + 1] = v;
        }
}

static void GatherBackprojection() {
    const int last = ImageSide - 1;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            Backprojection[p][q] =
                Backed[0][q][p + 1] + Backed[1][p][q + 1] + Backed[2][last - p][q + 1] + Backed[3][q][last - p + 1];
}

static double LineSum(int orientation, int a, int r) {
    const short *column = BandColumn[a][r];
    const float *left = BandLeft[a][r];
    const double(*bands)[PaddedSide] = Oriented[orientation];   // a thread's variable is found once, not per band
    double chord = BandChord[a], sum = 0.0;
    for (int k = LineFirstBand[a][r]; k < LineEndBand[a][r]; k++) {
        const double *pixels = bands[k] + column[k];
        sum += pixels[0] * left[k] + pixels[1] * (chord - left[k]);
    }
    return sum;
}

static void BackprojectLine(int orientation, int a, int r, double value) {
    const short *column = BandColumn[a][r];
    const float *left = BandLeft[a][r];
    double(*bands)[PaddedSide] = Backed[orientation];
    double chord = BandChord[a];
    for (int k = LineFirstBand[a][r]; k < LineEndBand[a][r]; k++) {
        double *pixels = bands[k] + column[k];
        pixels[0] += value * left[k];
        pixels[1] += value * (chord - left[k]);
    }
}

static void ProjectAngle(int angle) {
    int orientation, a;
    AngleOrientation(angle, &orientation, &a);
    for (int r = 0; r < Bins; r++) MlemExpected[angle][r] = MlemFactor[angle][r] * LineSum(orientation, a, r) + MlemAdditive[angle][r];
}

void ProjectMlemImage() {
    PrepareChords();
    OrientImage();
    for (int angle = 0; angle < Angles; angle++) ProjectAngle(angle);
    ExpectedCurrent = 1;
}

static void FindLogLikelihood() {
    double sum = 0.0;
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            double e = MlemExpected[a][r], y = MlemCounts[a][r];
            if (!(e > 0.0)) continue;   // a line through no pixel of the field: the same for every image
            sum += y > 0.0 ? y * NaturalLog(e / y) - e + y : -e;
        }
    MlemLogLikelihood = sum;
}

// Subset b holds the angles b, b + S, b + 2S, ... A pass takes them in bit-reversed
// order, so that each subset looks from angles far from the last one's.
static int SubsetAt(int step) {
    int subset = 0;
    for (int bit = 1, mirror = SubsetCount / 2; bit < SubsetCount; bit <<= 1, mirror >>= 1)
        if (step & bit) subset |= mirror;
    return subset;
}

// Backprojects, for the angles of the subset, value(angle, r) into Backprojection.
static void BackprojectSubset(int subset, double (*value)(int angle, int r)) {
    memset(Backed, 0, sizeof Backed);
    for (int angle = subset; angle < Angles; angle += SubsetCount) {
        int orientation, a;
        AngleOrientation(angle, &orientation, &a);
        for (int r = 0; r < Bins; r++) {
            double v = value(angle, r);
            if (v != 0.0) BackprojectLine(orientation, a, r, v);
        }
    }
    GatherBackprojection();
}

static double FactorOf(int angle, int r) { return MlemFactor[angle][r]; }

// Measured over expected counts, times the factor the model multiplies the line by.
static double RatioOf(int angle, int r) {
    double e = MlemExpected[angle][r];
    return e > 0.0 ? MlemFactor[angle][r] * MlemCounts[angle][r] / e : 0.0;
}

void StartMlem(int subsets) {
    PrepareChords();
    SubsetCount = subsets >= 1 && subsets <= SubsetsMax ? subsets : 1;
    double sensitivity = 0.0, counts = 0.0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            double x = p - RotationCentre, y = q - RotationCentre;
            InField[p][q] = x * x + y * y <= FieldRadius * FieldRadius;
        }
    for (int subset = 0; subset < SubsetCount; subset++) {
        BackprojectSubset(subset, FactorOf);
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) {
                Sensitivity[subset][p][q] = InField[p][q] ? (float)Backprojection[p][q] : 0.0f;
                sensitivity += Sensitivity[subset][p][q];
            }
    }
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) counts += MlemCounts[a][r] - MlemAdditive[a][r];
    // The image's share of the counts; the whole when the additive terms claim more.
    if (!(counts > 0.0))
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++) counts += MlemAdditive[a][r];
    double level = sensitivity > 0.0 ? counts / sensitivity : 0.0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) MlemImage[p][q] = InField[p][q] ? level : 0.0;
    ProjectMlemImage();
    FindLogLikelihood();
}

static void UpdateSubset(int subset) {
    if (!ExpectedCurrent)
        for (int angle = subset; angle < Angles; angle += SubsetCount) ProjectAngle(angle);
    BackprojectSubset(subset, RatioOf);
    if (MlemUpdateWatch) MlemUpdateWatch(subset, Backprojection, Sensitivity[subset]);
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (Sensitivity[subset][p][q] > 0.0f) MlemImage[p][q] *= Backprojection[p][q] / Sensitivity[subset][p][q];
    OrientImage();
    ExpectedCurrent = 0;
}

void MlemIteration() {
    for (int step = 0; step < SubsetCount; step++) UpdateSubset(SubsetAt(step));
    ProjectMlemImage();
    FindLogLikelihood();
}
