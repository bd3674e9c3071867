#include "teaching/slice_uniformity.h"

#include <math.h>
#include <stdio.h>

#include "teaching/slice_comparison.h"
#include "recon/geometry.h"

double SliceUniformity;
int UniformityBound;
char UniformityReason[ReasonBytes];   // declared without its size beside the figure

const double BandInside = 2.0;    // the band keeps this far from any other level, pixels ...
const double BandOutside = 6.0;   // ... and reaches this far in from the region's outer edge
const int BandReach = 6;          // BandOutside, whole
static unsigned char Level[ImageSide][ImageSide];     // [P][Q] 1 where the truth is the disc's level
static unsigned char Outside[ImageSide][ImageSide];   // [P][Q] 1 outside the region and its holes
const int PixelCount = ImageSide * ImageSide;
static int Pending[PixelCount];                       // flood fill: pixels to visit, p x ImageSide + q

// Marks Outside: what the image's border reaches without crossing the region.
static void FloodFromBorder() {
    int count = 0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            Outside[p][q] = 0;
            int border = p == 0 || q == 0 || p == ImageSide - 1 || q == ImageSide - 1;
            if (border && !Level[p][q]) {
                Outside[p][q] = 1;
                Pending[count++] = p * ImageSide + q;
            }
        }
    static const int Step[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (count > 0) {
        int pixel = Pending[--count];
        for (int d = 0; d < 4; d++) {
            int p = pixel / ImageSide + Step[d][0], q = pixel % ImageSide + Step[d][1];
            if (p < 0 || q < 0 || p >= ImageSide || q >= ImageSide || Level[p][q] || Outside[p][q]) continue;
            Outside[p][q] = 1;
            Pending[count++] = p * ImageSide + q;
        }
    }
}

// Whether pixel (p, q) of the region lies in the band along its outer edge.
static int InEdgeBand(int p, int q) {
    int toOther = 1 << 30, toOutside = 1 << 30;   // squared distances
    for (int i = p - BandReach; i <= p + BandReach; i++)
        for (int j = q - BandReach; j <= q + BandReach; j++) {
            int d2 = (i - p) * (i - p) + (j - q) * (j - q);
            int off = i < 0 || j < 0 || i >= ImageSide || j >= ImageSide;
            if ((off || Outside[i][j]) && d2 < toOutside) toOutside = d2;
            if ((off || !Level[i][j]) && d2 < toOther) toOther = d2;
        }
    return toOther > BandInside * BandInside && toOutside <= BandOutside * BandOutside;
}

void MeasureUniformity() {
    SliceUniformity = NAN;
    UniformityBound = 0;
    snprintf(UniformityReason, ReasonBytes, "%s", "it is read at the flat region, and there is none");
    if (!FlatKnown) return;
    double column = floor(FlatDisc[0] + 0.5), row = floor(FlatDisc[1] + 0.5);
    snprintf(UniformityReason, ReasonBytes, "%s", "the flat region's centre lies outside the slice");
    if (!(column >= 0.0 && column < ImageSide && row >= 0.0 && row < ImageSide)) return;
    float level = TruthSlice[(int)column][ImageSide - 1 - (int)row];
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) Level[p][q] = Evaluated[p][q] && TruthSlice[p][q] == level;
    FloodFromBorder();
    double sum = 0.0, middle, truth;
    int count = 0, bandBlack = 0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (Level[p][q] && InEdgeBand(p, q)) {
                sum += PeakShare(ShownGrey[p][q]);
                bandBlack += ShownGrey[p][q] == 0.0f;
                count++;
            }
    snprintf(UniformityReason, ReasonBytes, "%s", "the flat region's level has no band along its edge");
    if (count == 0) return;
    RingMeans(FlatDisc[0], FlatDisc[1], -1.0, FlatDisc[2], &middle, &truth);
    int middlePixels = 0, middleBlack = RingBlack(FlatDisc[0], FlatDisc[1], -1.0, FlatDisc[2], &middlePixels);
    // Black stands for the floor or less: with black on both sides nothing is known.
    snprintf(UniformityReason, ReasonBytes, "%s", "both the flat region and the edge of its level show black");
    if (middleBlack && bandBlack) return;
    SliceUniformity = middle / (sum / count);
    UniformityBound = middleBlack ? -1 : bandBlack ? 1 : 0;
    if (middleBlack)
        snprintf(UniformityReason, ReasonBytes, "%d of the flat region's %d pixels show black, below the floor",
                 middleBlack, middlePixels);
    else if (bandBlack)
        snprintf(UniformityReason, ReasonBytes, "%d of the edge band's %d pixels show black, below the floor",
                 bandBlack, count);
    else
        UniformityReason[0] = 0;
}
