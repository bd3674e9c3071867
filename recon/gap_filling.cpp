// Repair of one rotated layer in place: holes filled from two opposite known
// neighbours, then everything negative, remaining holes included, set to 0.
#include "recon/gap_filling.h"

#include "recon/backprojection.h"
#include "recon/working_arrays.h"

float GalleryMax;   // grey-scale reference of the angle gallery: max of layer 1, >= 0

const int GalleryReferenceLayer = 1;
const int LastPixel = ImageSide - 1;

// One sweep, Q outer and P inner: a pixel filled here already counts as known for
// the pixels after it, so the order decides the result.
void FillGaps(int a) {
    for (int q = 1; q < LastPixel; q++) {
        for (int p = 1; p < LastPixel; p++) {
            float &pixel = AngleStack[p][q][a];
            if (pixel != HoleMarker) continue;
            float before = AngleStack[p - 1][q][a], after = AngleStack[p + 1][q][a];
            if (before != HoleMarker && after != HoleMarker) pixel = (after + before) * 0.5f;
            if (pixel != HoleMarker) continue;
            before = AngleStack[p][q - 1][a];
            after = AngleStack[p][q + 1][a];
            if (before != HoleMarker && after != HoleMarker) pixel = (after + before) * 0.5f;
        }
    }
}

// NaN and -0.0 stay as they are: neither compares below 0.
void ClipNegatives(int a) {
    for (int q = 0; q < ImageSide; q++)
        for (int p = 0; p < ImageSide; p++)
            if (AngleStack[p][q][a] < 0) AngleStack[p][q][a] = 0;
}

void FindGalleryMax() {
    GalleryMax = 0.0f;
    for (int q = 0; q < ImageSide; q++)
        for (int p = 0; p < ImageSide; p++)
            if (AngleStack[p][q][GalleryReferenceLayer] > GalleryMax)
                GalleryMax = AngleStack[p][q][GalleryReferenceLayer];
}
