#include "teaching/picture_projection.h"

#include <math.h>

#include "teaching/picture_file.h"
#include "teaching/portable_math.h"
#include "teaching/sample_volume.h"
#include "recon/geometry.h"

const int CrossingsMax = 2 * (ImageSide + 1) + 2;  // grid lines a line can cross, entry and exit
static double Crossings[CrossingsMax];            // parameters u along the line, ascending
static double ColumnCrossings[ImageSide + 1];     // ... of the picture's vertical grid lines
static double RowCrossings[ImageSide + 1];        // ... of its horizontal grid lines

int PictureLeft() { return (ImageSide - PictureColumns) / 2; }
int PictureTop() { return (ImageSide - PictureRows) / 2; }

// Crossings of the grid lines edge + k (k = 0..count) by position(u) = start + u x step,
// in ascending u and strictly between lo and hi. Returns how many.
static int GridCrossings(double start, double step, double edge, int count, double lo, double hi,
                         double *out) {
    int n = 0;
    if (step == 0.0) return 0;
    for (int i = 0; i <= count; i++) {
        int k = step > 0.0 ? i : count - i;
        double u = (edge + k - start) / step;
        if (u > lo && u < hi) out[n++] = u;
    }
    return n;
}

// The range of u over which position(u) = start + u x step lies within [edge, edge + size].
static int RangeInside(double start, double step, double edge, double size, double *lo, double *hi) {
    if (step == 0.0) {
        if (!(start > edge && start < edge + size)) return 0;
        return 1;
    }
    double a = (edge - start) / step, b = (edge + size - start) / step;
    if (a > b) {
        double t = a;
        a = b;
        b = t;
    }
    if (a > *lo) *lo = a;
    if (b < *hi) *hi = b;
    return *lo < *hi;
}

double PictureLineIntegral(double thetaDegrees, double t) {
    double c = CosDegrees(thetaDegrees), s = SinDegrees(thetaDegrees);
    // Points of the line: x = t c - u s, y = t s + u c.
    double left = PictureLeft() - ImageSide / 2;                      // x of the first column's left edge
    double bottom = ImageSide / 2 - PictureTop() - PictureRows;       // y of the lowest row's bottom edge
    double lo = -1.0e9, hi = 1.0e9;
    if (!RangeInside(t * c, -s, left, PictureColumns, &lo, &hi)) return 0.0;
    if (!RangeInside(t * s, c, bottom, PictureRows, &lo, &hi)) return 0.0;
    int columns = GridCrossings(t * c, -s, left, PictureColumns, lo, hi, ColumnCrossings);
    int rows = GridCrossings(t * s, c, bottom, PictureRows, lo, hi, RowCrossings);
    // Merge both ascending lists between the entry and exit points.
    int n = 0, i = 0, j = 0;
    Crossings[n++] = lo;
    while (i < columns || j < rows)
        Crossings[n++] = j >= rows || (i < columns && ColumnCrossings[i] < RowCrossings[j]) ? ColumnCrossings[i++]
                                                                                           : RowCrossings[j++];
    Crossings[n++] = hi;
    double sum = 0.0;
    for (int k = 0; k + 1 < n; k++) {
        double length = Crossings[k + 1] - Crossings[k];
        if (!(length > 0.0)) continue;
        double u = 0.5 * (Crossings[k] + Crossings[k + 1]);
        double column = floor(t * c - u * s - left), fromBottom = floor(t * s + u * c - bottom);
        if (column < 0.0 || column >= PictureColumns || fromBottom < 0.0 || fromBottom >= PictureRows) continue;
        sum += length * PictureLevel[PictureRows - 1 - (int)fromBottom][(int)column];
    }
    return sum / PictureWhite;
}

void ProjectPictureIntoSlice(int s) {
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++)
            SampleVolume[s][a][r] = (float)PictureLineIntegral(a * AngleStepDegrees, r - RotationCentre);
}

int PictureLeavesField() {
    for (int row = 0; row < PictureRows; row++)
        for (int column = 0; column < PictureColumns; column++) {
            if (!(PictureLevel[row][column] > 0.0f)) continue;
            double x = PictureLeft() + column - RotationCentre, y = RotationCentre - (PictureTop() + row);
            if (x * x + y * y > FieldRadius * FieldRadius) return 1;
        }
    return 0;
}
