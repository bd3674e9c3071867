#include "teaching/slice_comparison.h"

#include <math.h>
#include <stdarg.h>
#include <stdio.h>

#include "teaching/phantoms.h"
#include "teaching/picture_file.h"
#include "teaching/picture_projection.h"
#include "teaching/tool_error.h"

float ShownGrey[ImageSide][ImageSide];
float TruthSlice[ImageSide][ImageSide];
unsigned char Evaluated[ImageSide][ImageSide];

int RegionCount;
double RegionColumn[RegionsMax];
double RegionRow[RegionsMax];
double RegionRadius[RegionsMax];
char RegionName[RegionsMax][RegionNameBytes];
double FlatDisc[3];
int FlatKnown;

double SliceCorrelation;
double SliceRmsError;
double RegionRecovery[RegionsMax];
double FlatNoise;
int FlatNoiseBound;
int NoteCount;
char Notes[NotesMax][NoteBytes];
char CorrelationReason[ReasonBytes];
char RmsErrorReason[ReasonBytes];
char RegionReason[RegionsMax][ReasonBytes];
char NoiseReason[ReasonBytes];

static float IdealGrey[ImageSide][ImageSide];   // [P][Q] the true slice as the program shows it
const int RingPixelsMax = ImageSide * ImageSide;
static int RingCount;                  // pixels of the last ring or disc gathered
static int RingP[RingPixelsMax];       // their P
static int RingQ[RingPixelsMax];       // their Q

const int SubSamples = 4;              // per pixel and axis, for the phantom's true slice
const double RingInside = 2.0;         // the ring around a region: from its edge + 2 pixels ...
const double RingOutside = 6.0;        // ... to its edge + 6
const double SphereRadiusMax = 12.0;   // larger round bodies are not spheres to measure

int FindFinalImage(const char *path) {
    for (int i = 0; i < ImageSide; i++) {
        int y = FinalImageTop + FinalImageScale * i;
        for (int p = 0; p < ImageSide; p++) {
            int x = FinalImageLeft + FinalImageScale * p;
            float level = PictureLevel[y][x];
            if (PictureTinted[y][x])
                return Refuse("%s shows no final image at x %d..%d, y %d..%d (pixel %d, %d is a colour, not grey; "
                              "save the picture once the slice is shown)",
                              path, FinalImageLeft, FinalImageRight, FinalImageTop, FinalImageBottom, x, y);
            if (PictureLevel[y][x + 1] != level || PictureLevel[y + 1][x] != level ||
                PictureLevel[y + 1][x + 1] != level || level != floorf(level))
                return Refuse("%s shows no final image at x %d..%d, y %d..%d (pixel %d, %d differs from its "
                              "2 x 2 block; save the picture once the slice is shown)",
                              path, FinalImageLeft, FinalImageRight, FinalImageTop, FinalImageBottom, x, y);
            // A PGM may store the greys on another scale (up to 65535); back to 0..255.
            ShownGrey[p][ImageSide - 1 - i] = (float)floor(level * 255.0 / PictureWhite + 0.5);
        }
    }
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (ShownGrey[p][q] > 0.0f) return 1;
    return Refuse("%s: the final image at x %d..%d, y %d..%d is black", path, FinalImageLeft, FinalImageRight,
                  FinalImageTop, FinalImageBottom);
}

static void ClearTruth() {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            TruthSlice[p][q] = 0.0f;
            Evaluated[p][q] = 0;
        }
}

void TruthFromPhantom(double z) {
    ClearTruth();
    double semiX = 0.0, semiY = 0.0;
    int outlined = BodyCount > 0 && BodySection(0, z, &semiX, &semiY);
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            double x = p - RotationCentre, y = q - RotationCentre, sum = 0.0;
            for (int i = 0; i < SubSamples; i++)
                for (int j = 0; j < SubSamples; j++)
                    sum += PhantomDensity(x + (i + 0.5) / SubSamples - 0.5, y + (j + 0.5) / SubSamples - 0.5, z);
            TruthSlice[p][q] = (float)(sum / (SubSamples * SubSamples));
            if (outlined) {
                double u = (x - BodyX[0]) / semiX, v = (y - BodyY[0]) / semiY;
                Evaluated[p][q] = u * u + v * v <= 1.0;
            }
        }
}

void TruthFromPicture() {
    ClearTruth();
    for (int row = 0; row < PictureRows; row++)
        for (int column = 0; column < PictureColumns; column++) {
            int p = PictureLeft() + column, q = ImageSide - 1 - (PictureTop() + row);
            TruthSlice[p][q] = (float)(PictureLevel[row][column] / PictureWhite);
            Evaluated[p][q] = 1;
        }
}

int AddRegion(const char *name, double column, double row, double radius) {
    if (RegionCount >= RegionsMax) return Refuse("at most %d regions are measured", RegionsMax);
    int n = RegionCount++;
    snprintf(RegionName[n], RegionNameBytes, "%s", name);
    RegionColumn[n] = column;
    RegionRow[n] = row;
    RegionRadius[n] = radius;
    return 1;
}

void AddSphereRegions(double z) {
    for (int b = 0; b < BodyCount; b++) {
        double semiX, semiY;
        if (BodyShape[b] != ShapeEllipsoid || BodySemiX[b] != BodySemiY[b] || BodySemiX[b] != BodySemiZ[b] ||
            BodySemiX[b] > SphereRadiusMax || !BodySection(b, z, &semiX, &semiY) || semiX < 2.0)
            continue;
        char name[RegionNameBytes];
        snprintf(name, sizeof name, "%s_r%.0f", BodyDensity[b] > 0.0 ? "hot" : "cold", semiX);
        AddRegion(name, BodyX[b] + RotationCentre, RotationCentre - BodyY[b], semiX);
    }
}

// A Q index bounding a search, clamped to the image; a NaN bound searches nothing that
// the distance test would keep anyway.
static int ClampedQ(double q) { return !(q > 0.0) ? 0 : q >= ImageSide - 1 ? ImageSide - 1 : (int)q; }

// Gathers the pixels whose centres lie from inner to outer pixels from (column, row);
// inner < 0 includes the centre. Only the rows within outer of the centre are looked at
// (one more on each side, so that rounding cannot leave one out): finding a flat region
// gathers a disc at every other pixel of the slice.
static void GatherRing(double column, double row, double inner, double outer) {
    RingCount = 0;
    double centreQ = (ImageSide - 1) - row;
    int qFirst = ClampedQ(floor(centreQ - outer) - 1.0), qLast = ClampedQ(ceil(centreQ + outer) + 1.0);
    for (int p = 0; p < ImageSide; p++) {
        double dx = p - column;
        if (fabs(dx) > outer) continue;
        for (int q = qFirst; q <= qLast; q++) {
            double dy = (ImageSide - 1 - q) - row, d2 = dx * dx + dy * dy;
            if (d2 <= outer * outer && (inner < 0.0 || d2 >= inner * inner)) {
                RingP[RingCount] = p;
                RingQ[RingCount++] = q;
            }
        }
    }
}

int FindFlatRegion(double radius) {
    double best = -1.0;
    for (int row = 0; row < ImageSide; row += 2)
        for (int column = 0; column < ImageSide; column += 2) {
            double d = hypot(column - RotationCentre, row - RotationCentre);
            if (best >= 0.0 && d >= best) continue;
            if (column - radius < 0 || column + radius > ImageSide - 1 || row - radius < 0 ||
                row + radius > ImageSide - 1)
                continue;
            float level = TruthSlice[column][ImageSide - 1 - row];
            int flat = level > 0.0f;
            GatherRing(column, row, -1.0, radius);
            for (int k = 0; k < RingCount && flat; k++)
                flat = Evaluated[RingP[k]][RingQ[k]] && TruthSlice[RingP[k]][RingQ[k]] == level;
            if (!flat) continue;
            best = d;
            FlatDisc[0] = column;
            FlatDisc[1] = row;
            FlatDisc[2] = radius;
        }
    FlatKnown = best >= 0.0;
    return FlatKnown;
}

double PeakShare(double g) { return BackgroundShare + (1.0 - BackgroundShare) * g / 255.0; }

static void MakeIdealGrey() {
    float peak = 0.0f;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (TruthSlice[p][q] > peak) peak = TruthSlice[p][q];
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            double g = peak > 0.0f ? 255.0 * (TruthSlice[p][q] / peak - BackgroundShare) / (1.0 - BackgroundShare) : 0.0;
            IdealGrey[p][q] = (float)(g <= 0.0 ? 0.0 : g >= 255.0 ? 255.0 : floor(g));
        }
}

void RingMeans(double column, double row, double inner, double outer, double *shown, double *truth) {
    double sumShown = 0.0, sumTruth = 0.0;
    GatherRing(column, row, inner, outer);
    for (int k = 0; k < RingCount; k++) {
        sumShown += PeakShare(ShownGrey[RingP[k]][RingQ[k]]);
        sumTruth += TruthSlice[RingP[k]][RingQ[k]];
    }
    *shown = RingCount ? sumShown / RingCount : NAN;
    *truth = RingCount ? sumTruth / RingCount : NAN;
}

void Note(const char *format, ...) {
    if (NoteCount >= NotesMax) return;
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(Notes[NoteCount++], NoteBytes, format, arguments);
    va_end(arguments);
}

int DiscLeavesSlice(double column, double row, double radius) {
    return column - radius < 0.0 || row - radius < 0.0 || column + radius > ImageSide - 1 || row + radius > ImageSide - 1;
}

void ImageRingMeans(const double image[ImageSide][ImageSide], double column, double row, double inner, double outer,
                    double *mean, double *truth) {
    double sum = 0.0, sumTruth = 0.0;
    GatherRing(column, row, inner, outer);
    for (int k = 0; k < RingCount; k++) {
        sum += image[RingP[k]][RingQ[k]];
        sumTruth += TruthSlice[RingP[k]][RingQ[k]];
    }
    *mean = RingCount ? sum / RingCount : NAN;
    *truth = RingCount ? sumTruth / RingCount : NAN;
}

// Notes why a figure could not be had.
static void Because(char reason[ReasonBytes], const char *why) { snprintf(reason, ReasonBytes, "%s", why); }

int RingBlack(double column, double row, double inner, double outer, int *pixels) {
    GatherRing(column, row, inner, outer);
    int black = 0;
    for (int k = 0; k < RingCount; k++) black += ShownGrey[RingP[k]][RingQ[k]] == 0.0f;
    *pixels = RingCount;
    return black;
}

void MeasureSlice() {
    NoteCount = 0;
    MakeIdealGrey();
    CorrelationReason[0] = RmsErrorReason[0] = NoiseReason[0] = 0;
    double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0, error = 0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            if (!Evaluated[p][q]) continue;
            double x = ShownGrey[p][q], y = IdealGrey[p][q];
            n++;
            sx += x;
            sy += y;
            sxx += x * x;
            syy += y * y;
            sxy += x * y;
            error += (x - y) * (x - y);
        }
    double shownSpread = sxx - sx * sx / n, idealSpread = syy - sy * sy / n;
    SliceCorrelation = n > 0 && shownSpread > 0.0 && idealSpread > 0.0
                           ? (sxy - sx * sy / n) / sqrt(shownSpread * idealSpread)
                           : NAN;
    SliceRmsError = n > 0 && syy > 0.0 ? sqrt(error / syy) : NAN;
    if (n == 0) {
        Because(CorrelationReason, "the truth has no object on this slice");
        Because(RmsErrorReason, CorrelationReason);
    } else if (syy == 0.0) {
        Because(CorrelationReason, "the truth is black");
        Because(RmsErrorReason, CorrelationReason);
    } else if (!(idealSpread > 0.0)) {
        Because(CorrelationReason, "the truth shows one grey inside the object");
    } else if (!(shownSpread > 0.0)) {
        Because(CorrelationReason, "the saved picture shows one grey inside the object");
    }

    for (int r = 0; r < RegionCount; r++) {
        double inShown, inTruth, aroundShown, aroundTruth;
        double radius = RegionRadius[r];
        RingMeans(RegionColumn[r], RegionRow[r], -1.0, radius, &inShown, &inTruth);
        RingMeans(RegionColumn[r], RegionRow[r], radius + RingInside, radius + RingOutside, &aroundShown,
                  &aroundTruth);
        RegionRecovery[r] = NAN;
        RegionReason[r][0] = 0;
        if (inTruth != inTruth || aroundTruth != aroundTruth)
            Because(RegionReason[r], "the region or the ring around it lies outside the slice");
        else if (!(aroundTruth > 0.0))
            Because(RegionReason[r], "there is no true activity around the region");
        else if (inTruth == aroundTruth)
            Because(RegionReason[r], "the region and the ring around it have the same true activity");
        else
            RegionRecovery[r] = (inShown / aroundShown - 1.0) / (inTruth / aroundTruth - 1.0);
        if (RegionRecovery[r] == RegionRecovery[r] && DiscLeavesSlice(RegionColumn[r], RegionRow[r], radius + RingOutside))
            Note("%s reaches past the slice's edge; it and the ring around it are measured on the part within the slice",
                 RegionName[r]);
    }

    FlatNoise = NAN;
    FlatNoiseBound = 0;
    if (!FlatKnown) {
        Because(NoiseReason, "no flat region of one true level was found; give one with --flat");
        return;
    }
    GatherRing(FlatDisc[0], FlatDisc[1], -1.0, FlatDisc[2]);
    if (RingCount < 2) {
        Because(NoiseReason, "the flat region lies outside the slice");
        return;
    }
    if (DiscLeavesSlice(FlatDisc[0], FlatDisc[1], FlatDisc[2]))
        Note("the flat region reaches past the slice's edge; it is measured on the part within the slice");
    double sum = 0.0, squares = 0.0;
    int black = 0, mixed = 0;
    float level = TruthSlice[RingP[0]][RingQ[0]];
    for (int k = 0; k < RingCount; k++) {
        sum += PeakShare(ShownGrey[RingP[k]][RingQ[k]]);
        black += ShownGrey[RingP[k]][RingQ[k]] == 0.0f;
        mixed |= TruthSlice[RingP[k]][RingQ[k]] != level;
    }
    if (mixed)
        Note("the flat region holds more than one true level, so its noise counts their difference too");
    if (black == RingCount) {
        Because(NoiseReason, "the flat region shows black: below 30 % of the peak no noise is seen");
        return;
    }
    double mean = sum / RingCount;
    for (int k = 0; k < RingCount; k++) {
        double d = PeakShare(ShownGrey[RingP[k]][RingQ[k]]) - mean;
        squares += d * d;
    }
    FlatNoise = sqrt(squares / RingCount) / mean;
    // Black lifts what lies below the floor to it: the spread shrinks and the mean grows,
    // so the true noise is at least the figure.
    if (black > 0) {
        FlatNoiseBound = 1;
        snprintf(NoiseReason, ReasonBytes, "%d of its %d pixels show black, whose level below the floor is not seen",
                 black, RingCount);
    }
}
