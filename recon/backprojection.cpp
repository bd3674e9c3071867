// The backprojection of every angle into its own layer.
#include "recon/backprojection.h"

#include <emmintrin.h>  // every build asks for SSE2, as the shipped program does
#include <stdint.h>

#include "recon/rotation_trig.h"
#include "recon/working_arrays.h"

const int LastBin = Bins - 1;       // highest radial bin
const int LastPixel = ImageSide - 1;
const double PixelRounding = 0.5;   // truncating after +0.5 picks the nearest pixel
const int FilterBlock = 8;          // output bins filtered side by side, each its own sum
const int32_t OutsideLayer = -1;    // the target offset of a sample the rotation drops

static void ResetLayer(int a) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) AngleStack[a][p][q] = HoleMarker;
}

// The layer is reset just before its rotation, while it is in the cache; no layer
// touches another, so this equals resetting all of them first.
void BackprojectAngle(int a, char method) {
    ResetLayer(a);
    FilterColumn(a, method);
    SmearColumn(a);
    RotateIntoStack(a);
}

void BackprojectAngles(char method) {
    for (int a = 0; a < Angles; a++) BackprojectAngle(a, method);
}

// The column of the angle being filtered, with FilterTapCount zeros on either side so
// that every offset reads inside it; the terms that fall beyond the ends are left out of
// the sums, not added as zeros, which could change a sum's sign of zero or make NaN.
static float PaddedColumn[FilterTapCount + Bins + FilterTapCount];
static float *const Column = PaddedColumn + FilterTapCount;  // Column[r], r -127..383

// Adds the term at this offset to the sums of output bins k0..k0+7 (lane b for bin
// k0 + b), in the lanes first..last, whose bin + offset lies in the projection. Each
// lane's sum gets its terms in the same order as it would alone.
static void AddTerm(__m128d sums[4], int k0, int offset, double tap, int first, int last) {
    const __m128d taps = _mm_set1_pd(tap);
    const float *samples = Column + k0 + offset;
    bool whole = first <= 0 && last >= FilterBlock - 1;
    for (int pair = 0; pair < 4; pair++) {
        __m128d products = _mm_mul_pd(
            _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64((const __m128i *)(samples + 2 * pair)))), taps);
        __m128d added = _mm_add_pd(sums[pair], products);
        if (whole) {
            sums[pair] = added;
            continue;
        }
        int lane0 = 2 * pair, lane1 = 2 * pair + 1;
        __m128d take = _mm_castsi128_pd(_mm_set_epi64x(lane1 >= first && lane1 <= last ? -1 : 0,
                                                       lane0 >= first && lane0 <= last ? -1 : 0));
        sums[pair] = _mm_or_pd(_mm_and_pd(take, added), _mm_andnot_pd(take, sums[pair]));
    }
}

void FilterColumn(int a, char method) {
    if (method == '1') {
        for (int r = 0; r < Bins; r++) FilteredSinogram[r][a] = SliceSinogram[r][a];
        return;
    }
    for (int r = 0; r < Bins; r++) Column[r] = SliceSinogram[r][a];
    // Centre and forward side first, then the backward side, each outward: the order
    // of the additions decides the last bits of a sum. Neighbouring output bins are
    // summed side by side, each in exactly that order.
    for (int k0 = 0; k0 < Bins; k0 += FilterBlock) {
        __m128d sums[4] = {_mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd()};
        for (int l = 0; l < FilterTapCount && k0 + l <= LastBin; l++)
            AddTerm(sums, k0, l, FilterTaps[l], 0, LastBin - k0 - l);
        for (int m = 1; m < FilterTapCount && m - k0 < FilterBlock; m++)
            AddTerm(sums, k0, -m, FilterTaps[m], m - k0, FilterBlock - 1);
        double sum[FilterBlock];
        for (int pair = 0; pair < 4; pair++) _mm_storeu_pd(sum + 2 * pair, sums[pair]);
        for (int b = 0; b < FilterBlock; b++) FilteredSinogram[k0 + b][a] = (float)sum[b];
    }
}

void SmearColumn(int a) {
    for (int r = 0; r < Bins; r++) {
        float value = FilteredSinogram[r][a];
        for (int c = 0; c < ImageSide; c++) SmearImage[r][c] = value;
    }
}

// Target pixel of every source pixel of column i, as an offset into a layer, or
// OutsideLayer. The offsets are worked out for all 256 source pixels before any is
// stored, two at a time; the doubles are those of the plain loop order, which the tests
// hold them against. |u|, |v| <= RotationCentre and |c|, |s| <= 1 keep both coordinates within
// -128..384, so the truncations are always defined.
static void TargetsOfColumn(const double *uc, const double *us, double vs, double vc, int32_t *targets) {
    static_assert(ArraySide == (1 << 8) + (1 << 2), "a row offset is P shifted by 8 plus P shifted by 2");
    static_assert(ImageSide % 4 == 0, "four source pixels a step");
    const __m128d centre = _mm_set1_pd(RotationCentre), rounding = _mm_set1_pd(PixelRounding);
    const __m128d vs2 = _mm_set1_pd(vs), vc2 = _mm_set1_pd(vc);
    const __m128i outsideBits = _mm_set1_epi32(~LastPixel), outside = _mm_set1_epi32(OutsideLayer);
    for (int j = 0; j < ImageSide; j += 4) {
        __m128d p01 = _mm_add_pd(_mm_add_pd(_mm_sub_pd(_mm_loadu_pd(uc + j), vs2), centre), rounding);
        __m128d p23 = _mm_add_pd(_mm_add_pd(_mm_sub_pd(_mm_loadu_pd(uc + j + 2), vs2), centre), rounding);
        __m128d q01 = _mm_add_pd(_mm_add_pd(_mm_add_pd(_mm_loadu_pd(us + j), vc2), centre), rounding);
        __m128d q23 = _mm_add_pd(_mm_add_pd(_mm_add_pd(_mm_loadu_pd(us + j + 2), vc2), centre), rounding);
        __m128i p = _mm_unpacklo_epi64(_mm_cvttpd_epi32(p01), _mm_cvttpd_epi32(p23));
        __m128i q = _mm_unpacklo_epi64(_mm_cvttpd_epi32(q01), _mm_cvttpd_epi32(q23));
        __m128i offset = _mm_add_epi32(_mm_add_epi32(_mm_slli_epi32(p, 8), _mm_slli_epi32(p, 2)), q);
        __m128i inside = _mm_cmpeq_epi32(_mm_and_si128(_mm_or_si128(p, q), outsideBits), _mm_setzero_si128());
        offset = _mm_or_si128(_mm_and_si128(inside, offset), _mm_andnot_si128(inside, outside));
        _mm_storeu_si128((__m128i *)(targets + j), offset);
    }
}

void RotateIntoStack(int a) {
    double theta = ((double)a * AngleStepDegrees) * RadiansPerDegree;
    double c, s;
    RotationCosSin(theta, &c, &s);
    // The products depend on one coordinate each; made once, they are the same doubles
    // that each pixel's expression would make.
    double uc[ImageSide], us[ImageSide];
    for (int j = 0; j < ImageSide; j++) {
        double u = j - RotationCentre;
        uc[j] = u * c;
        us[j] = s * u;
    }
    float *layer = &AngleStack[a][0][0];
    int32_t targets[ImageSide];
    // Forward mapping: later source pixels overwrite earlier ones on the same target.
    for (int i = 0; i < ImageSide; i++) {
        double v = i - RotationCentre;
        TargetsOfColumn(uc, us, v * s, v * c, targets);
        for (int j = 0; j < ImageSide; j++)
            if (targets[j] != OutsideLayer) layer[targets[j]] = SmearImage[j][i];
    }
}
