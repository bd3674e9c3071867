// The reconstruction's fast loops against the straightforward loop order they replace,
// on random projections with NaN, infinities, denormals and genuine -1.0 samples: every
// layer, the summed image and the grey scale must agree bit for bit.
#include <gtest/gtest.h>
#include <math.h>
#include <stdint.h>
#include <string.h>

#include "graphics/truncation.h"
#include "recon/backprojection.h"
#include "recon/gap_filling.h"
#include "recon/rotation_trig.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"

namespace fast_paths_test {

namespace {

float Layer[ImageSide][ImageSide];   // [P][Q] of the layer the plain loops build
float Sum[ImageSide][ImageSide];     // [P][Q] of the plain summation
uint64_t RandomState;

uint32_t NextBits() {
    RandomState = RandomState * 6364136223846793005ull + 1442695040888963407ull;
    return (uint32_t)(RandomState >> 32);
}

// Mostly ordinary counts, with a sprinkling of every awkward value.
float RandomSample() {
    const float specials[] = {NAN, INFINITY, -INFINITY, -1.0f, -0.0f, 1e-40f, 3e38f, -3e38f};
    uint32_t bits = NextBits();
    if (bits % 50 == 0) return specials[(bits / 50) % 8];
    return (float)(bits % 20000) / 10.0f - 100.0f;
}

// The layer of angle a as the plain loops make it: copy or convolve in the stated
// term order, smear, rotate in the stated loop order, fill Q outer P inner, clip.
void PlainLayer(int a, char method) {
    float column[Bins], smear[ImageSide][ImageSide];
    for (int k = 0; k < Bins; k++) {
        if (method == '1') {
            column[k] = SliceSinogram[k][a];
            continue;
        }
        double sum = 0.0;
        for (int l = 0; l < FilterTapCount; l++)
            if (k + l <= 255) sum += (double)SliceSinogram[k + l][a] * FilterTaps[l];
        for (int m = 1; m < FilterTapCount; m++)
            if (k - m >= 0) sum += (double)SliceSinogram[k - m][a] * FilterTaps[m];
        column[k] = (float)sum;
    }
    for (int r = 0; r < ImageSide; r++)
        for (int c = 0; c < ImageSide; c++) smear[r][c] = column[r];
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) Layer[p][q] = HoleMarker;
    double c, s;
    RotationCosSin(((double)a * AngleStepDegrees) * RadiansPerDegree, &c, &s);
    for (int i = 0; i < ImageSide; i++) {
        double v = i - RotationCentre;
        for (int j = 0; j < ImageSide; j++) {
            double u = j - RotationCentre;
            int32_t p = TruncateToInt32(((u * c - v * s) + RotationCentre) + 0.5);
            int32_t q = TruncateToInt32(((s * u + v * c) + RotationCentre) + 0.5);
            if (p >= 0 && p <= 255 && q >= 0 && q <= 255) Layer[p][q] = smear[j][i];
        }
    }
    for (int q = 1; q < 255; q++)
        for (int p = 1; p < 255; p++) {
            if (Layer[p][q] != HoleMarker) continue;
            if (Layer[p - 1][q] != HoleMarker && Layer[p + 1][q] != HoleMarker)
                Layer[p][q] = (Layer[p + 1][q] + Layer[p - 1][q]) * 0.5f;
            if (Layer[p][q] != HoleMarker) continue;
            if (Layer[p][q - 1] != HoleMarker && Layer[p][q + 1] != HoleMarker)
                Layer[p][q] = (Layer[p][q + 1] + Layer[p][q - 1]) * 0.5f;
        }
    for (int q = 0; q < ImageSide; q++)
        for (int p = 0; p < ImageSide; p++)
            if (Layer[p][q] < 0) Layer[p][q] = 0;
}

// Bit for bit, but a NaN matches any NaN: which operand's payload an addition of two
// NaNs passes on is the compiler's choice of operand order, even in the same loop.
int DifferingBits(const float *a, const float *b, int count) {
    int differing = 0;
    for (int i = 0; i < count; i++)
        differing += memcmp(a + i, b + i, sizeof(float)) != 0 && !(isnan(a[i]) && isnan(b[i]));
    return differing;
}

}  // namespace

TEST(FastPaths, SameBitsAsThePlainLoopOrder) {
    struct { const char *what; char method; uint64_t seed; double tapScale; } cases[] = {
        {"simple, -1.0 samples become holes", '1', 1, 0.0},
        {"filtered, ordinary taps", '2', 2, 1.0},
        {"filtered, taps near the double range", '2', 3, 1e300},
    };
    for (auto &c : cases) {
        RandomState = c.seed;
        for (int r = 0; r < Bins; r++)
            for (int a = 0; a < Angles; a++) SliceSinogram[r][a] = RandomSample();
        for (int l = 0; l < FilterTapCount; l++)
            FilterTaps[l] = c.tapScale * ((double)(NextBits() % 2001) / 1000.0 - 1.0) / (1 + l);
        BackprojectAngles(c.method);
        for (int a = 0; a < Angles; a++) {
            FillGaps(a);
            ClipNegatives(a);
        }
        SumAngles();
        memset(Sum, 0, sizeof Sum);
        int differingLayers = 0, firstLayer = -1;
        for (int a = 0; a < Angles; a++) {
            PlainLayer(a, c.method);
            int differing = 0;
            for (int p = 0; p < ImageSide; p++) differing += DifferingBits(AngleStack[a][p], Layer[p], ImageSide);
            if (differing && differingLayers++ == 0) firstLayer = a;
            for (int p = 0; p < ImageSide; p++)
                for (int q = 0; q < ImageSide; q++) Sum[p][q] += Layer[p][q];
        }
        EXPECT_EQ(differingLayers, 0) << c.what << ", first at layer " << firstLayer;
        int differing = 0;
        for (int p = 0; p < ImageSide; p++) differing += DifferingBits(ReconImage[p], Sum[p], ImageSide);
        EXPECT_EQ(differing, 0) << c.what;
    }
}

}  // namespace fast_paths_test
