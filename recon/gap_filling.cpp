// Repair of one rotated layer in place: holes filled from two opposite known
// neighbours, then everything negative, remaining holes included, set to 0.
#include "recon/gap_filling.h"

#include "recon/backprojection.h"
#include "recon/working_arrays.h"

float GalleryMax;   // grey-scale reference of the angle gallery: max of layer 1, >= 0

const int GalleryReferenceLayer = 1;
const int LastPixel = ImageSide - 1;

// The repair is one sweep, Q outer, P inner: a pixel filled there already counts as
// known for the pixels after it, so the order decides the result. A pixel reads only
// its four neighbours and changes only when the sweep reaches it, so what matters is
// that (P-1, Q) and (P, Q-1) are repaired before it and (P+1, Q) and (P, Q+1) after
// it. Sweeping P outer, Q inner keeps all four relations and walks the layer in
// memory order, so it gives the same layer.
void FillGaps(int a) {
    float (*layer)[ArraySide] = AngleStack[a];
    for (int p = 1; p < LastPixel; p++) {
        for (int q = 1; q < LastPixel; q++) {
            float &pixel = layer[p][q];
            if (pixel != HoleMarker) continue;
            float before = layer[p - 1][q], after = layer[p + 1][q];
            if (before != HoleMarker && after != HoleMarker) pixel = (after + before) * 0.5f;
            if (pixel != HoleMarker) continue;
            before = layer[p][q - 1];
            after = layer[p][q + 1];
            if (before != HoleMarker && after != HoleMarker) pixel = (after + before) * 0.5f;
        }
    }
}

// NaN and -0.0 stay as they are: neither compares below 0.
void ClipNegatives(int a) {
    for (int p = 0; p < ImageSide; p++) {
        float *row = AngleStack[a][p];
        for (int q = 0; q < ImageSide; q++) row[q] = row[q] < 0.0f ? 0.0f : row[q];
    }
}

void RepairLayers() {
    for (int a = 0; a < Angles; a++) {
        FillGaps(a);
        ClipNegatives(a);
    }
}

void FindGalleryMax() {
    GalleryMax = 0.0f;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (AngleStack[GalleryReferenceLayer][p][q] > GalleryMax)
                GalleryMax = AngleStack[GalleryReferenceLayer][p][q];
}
