// Repair of one rotated layer in place: holes filled from two opposite known
// neighbours, then everything negative, remaining holes included, set to 0.
#include "recon/gap_filling.h"

#include <emmintrin.h>  // every build asks for SSE2, as the shipped program does

#include "recon/backprojection.h"
#include "recon/working_arrays.h"

float GalleryMax;   // grey-scale reference of the angle gallery: max of layer 1, >= 0

const int GalleryReferenceLayer = 1;
const int LastPixel = ImageSide - 1;

// The repair is one sweep, Q outer, P inner: a pixel filled there already counts as
// known for the pixels after it, so the order decides the result. A pixel reads only
// its four neighbours and changes only when the sweep reaches it, so what matters is
// that (P-1, Q) and (P, Q-1) are repaired before it and (P+1, Q) and (P, Q+1) after
// it. Sweeping row P by row P keeps all four relations and walks the layer in memory
// order, so it gives the same layer.
// Within a row, the first try (along P) reads only the rows above and below, so all of
// the row's first tries can be made at once. The second try (along Q) needs (P, Q+1)
// known, which only a pixel that was no hole to begin with is; so a pixel filled by it
// is never itself a hole that its right neighbour's second try would wait for, and
// (P, Q-1), read by it, is never changed by the second tries. So they too can be made
// at once, on the row as the first tries left it.
static float Start[ImageSide + 2];   // [1 + Q]: the row before its repair
static float Tried[ImageSide + 2];   // [1 + Q]: the row after the first tries

// Columns 0 and 255 are never filled; they only lend their values, and the second
// tries, with no known pixel beyond them, cannot fill them either.
static void EndFirstTries() {
    Tried[0] = HoleMarker;
    Tried[1] = Start[1];
    Tried[1 + LastPixel] = Start[1 + LastPixel];
    Tried[ImageSide + 1] = HoleMarker;
}

static void FillRow(const float *above, float *row, const float *below) {
    // Pixels that are no holes never change: only the groups of four that hold a hole
    // are worked, listed without a branch as the row is copied.
    const __m128 hole = _mm_set1_ps(HoleMarker), half = _mm_set1_ps(0.5f);
    int groups[ImageSide / 4];  // first Q of each group of four holding a hole
    int count = 0;
    for (int q = 0; q < ImageSide; q += 4) {
        __m128 pixel = _mm_loadu_ps(row + q);
        _mm_storeu_ps(Start + 1 + q, pixel);
        _mm_storeu_ps(Tried + 1 + q, pixel);
        groups[count] = q;
        count += _mm_movemask_ps(_mm_cmpeq_ps(pixel, hole)) != 0;
    }
    if (count == 0) return;
    Start[0] = Start[ImageSide + 1] = HoleMarker;
    for (int k = 0; k < count; k++) {
        int q = groups[k];
        __m128 pixel = _mm_loadu_ps(Start + 1 + q), before = _mm_loadu_ps(above + q);
        __m128 after = _mm_loadu_ps(below + q);
        __m128 fill = _mm_and_ps(_mm_cmpeq_ps(pixel, hole),
                                 _mm_and_ps(_mm_cmpneq_ps(before, hole), _mm_cmpneq_ps(after, hole)));
        __m128 average = _mm_mul_ps(_mm_add_ps(after, before), half);
        _mm_storeu_ps(Tried + 1 + q, _mm_or_ps(_mm_and_ps(fill, average), _mm_andnot_ps(fill, pixel)));
    }
    EndFirstTries();
    for (int k = 0; k < count; k++) {
        int q = groups[k];
        __m128 pixel = _mm_loadu_ps(Tried + 1 + q), before = _mm_loadu_ps(Tried + q);
        __m128 after = _mm_loadu_ps(Start + 2 + q);
        __m128 fill = _mm_and_ps(_mm_cmpeq_ps(pixel, hole),
                                 _mm_and_ps(_mm_cmpneq_ps(before, hole), _mm_cmpneq_ps(after, hole)));
        __m128 average = _mm_mul_ps(_mm_add_ps(after, before), half);
        _mm_storeu_ps(row + q, _mm_or_ps(_mm_and_ps(fill, average), _mm_andnot_ps(fill, pixel)));
    }
}

void FillGaps(int a) {
    float (*layer)[ArraySide] = AngleStack[a];
    for (int p = 1; p < LastPixel; p++) FillRow(layer[p - 1], layer[p], layer[p + 1]);
}

// NaN and -0.0 stay as they are: neither compares below 0.
void ClipNegatives(int a) {
    for (int p = 0; p < ImageSide; p++) {
        float *row = AngleStack[a][p];
        for (int q = 0; q < ImageSide; q++) row[q] = row[q] < 0.0f ? 0.0f : row[q];
    }
}

void FindGalleryMax() {
    GalleryMax = 0.0f;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (AngleStack[GalleryReferenceLayer][p][q] > GalleryMax)
                GalleryMax = AngleStack[GalleryReferenceLayer][p][q];
}
