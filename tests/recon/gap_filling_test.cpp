// Hole filling, clipping of negatives and the gallery's grey-scale reference.
#include <gtest/gtest.h>
#include <math.h>

#include <initializer_list>

#include "recon/backprojection.h"
#include "recon/gap_filling.h"
#include "recon/working_arrays.h"

namespace gap_filling_test {

const int Layer = 7;

// Known pixels: the average of the first-index neighbours is Base + 1, that of the
// second-index neighbours Base + 100, so the filled value tells which pair was used.
// Every value and sum stays an exact float.
static float Base(int p, int q) { return (float)(p * p + 100 * q * q); }

static void FillKnownLayer(int a) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) AngleStack[a][p][q] = Base(p, q);
}

struct Pixel { int p, q; };
struct Expected { int p, q; float value; };

struct GapCase {
    const char *what;
    std::initializer_list<Pixel> holes;
    std::initializer_list<Expected> expected;  // after FillGaps and ClipNegatives
};

TEST(FillGaps, CasesAfterFillingAndClipping) {
    const float fromQ1020 = Base(10, 20) + 100;
    const float filled1020 = Base(10, 20) + 1;
    const float fromBelow1021 = (Base(10, 22) + filled1020) * 0.5f;
    const GapCase cases[] = {
        {"single hole: first-index neighbours", {{10, 20}}, {{10, 20, Base(10, 20) + 1}}},
        {"first-index neighbour a hole: second-index neighbours, and the filled value "
         "then serves the next pixel",
         {{10, 20}, {11, 20}},
         {{10, 20, fromQ1020}, {11, 20, (Base(12, 20) + fromQ1020) * 0.5f}}},
        {"a value filled in the previous row serves as second-index neighbour",
         {{10, 20}, {10, 21}, {11, 21}},
         {{10, 20, filled1020}, {10, 21, fromBelow1021}, {11, 21, (Base(12, 21) + fromBelow1021) * 0.5f}}},
        {"2 x 3 block: no pair of known neighbours anywhere",
         {{10, 19}, {11, 19}, {10, 20}, {11, 20}, {10, 21}, {11, 21}},
         {{10, 19, 0}, {11, 19, 0}, {10, 20, 0}, {11, 20, 0}, {10, 21, 0}, {11, 21, 0}}},
        {"border holes are never filled",
         {{0, 50}, {255, 60}, {70, 0}, {80, 255}, {0, 0}, {255, 255}},
         {{0, 50, 0}, {255, 60, 0}, {70, 0, 0}, {80, 255, 0}, {0, 0, 0}, {255, 255, 0}}},
        {"holes next to the border are filled from it",
         {{1, 1}, {254, 254}},
         {{1, 1, Base(1, 1) + 1}, {254, 254, Base(254, 254) + 1}}},
    };
    for (auto &c : cases) {
        FillKnownLayer(Layer);
        for (auto &h : c.holes) AngleStack[Layer][h.p][h.q] = HoleMarker;
        FillGaps(Layer);
        ClipNegatives(Layer);
        for (auto &e : c.expected)
            EXPECT_EQ(AngleStack[Layer][e.p][e.q], e.value) << c.what << " at " << e.p << "," << e.q;
        int changed = 0;
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) {
                bool listed = false;
                for (auto &h : c.holes) listed |= h.p == p && h.q == q;
                if (!listed) changed += AngleStack[Layer][p][q] != Base(p, q);
            }
        EXPECT_EQ(changed, 0) << c.what;
    }
}

TEST(FillGaps, MinusOneIsAHoleWhereverItComesFrom) {
    FillKnownLayer(Layer);
    // A genuine -1.0 with known neighbours is replaced like a hole.
    AngleStack[Layer][30][40] = -1.0f;
    // A first-index average of exactly -1.0 leaves a hole, so the second pair is tried.
    AngleStack[Layer][50][60] = -1.0f;
    AngleStack[Layer][49][60] = -0.5f;
    AngleStack[Layer][51][60] = -1.5f;
    AngleStack[Layer][50][59] = 6.0f;
    AngleStack[Layer][50][61] = 8.0f;
    // A NaN is not a hole, and as a neighbour it counts as known.
    AngleStack[Layer][70][80] = NAN;
    AngleStack[Layer][71][80] = -1.0f;
    // A genuine -1.0 on the border ends as 0.
    AngleStack[Layer][0][90] = -1.0f;
    FillGaps(Layer);
    EXPECT_EQ(AngleStack[Layer][30][40], Base(30, 40) + 1);
    EXPECT_EQ(AngleStack[Layer][50][60], 7.0f);
    EXPECT_TRUE(isnan(AngleStack[Layer][70][80]));
    EXPECT_TRUE(isnan(AngleStack[Layer][71][80]));
    ClipNegatives(Layer);
    EXPECT_EQ(AngleStack[Layer][0][90], 0.0f);
    EXPECT_EQ(AngleStack[Layer][49][60], 0.0f);
}

TEST(FillGaps, AllHoleLayerEndsAllZeroAndOtherLayersStay) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            AngleStack[Layer - 1][p][q] = HoleMarker;
            AngleStack[Layer][p][q] = HoleMarker;
            AngleStack[Layer + 1][p][q] = HoleMarker;
        }
    FillGaps(Layer);
    ClipNegatives(Layer);
    int nonZero = 0, otherChanged = 0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            nonZero += AngleStack[Layer][p][q] != 0.0f;
            otherChanged += AngleStack[Layer - 1][p][q] != HoleMarker;
            otherChanged += AngleStack[Layer + 1][p][q] != HoleMarker;
        }
    EXPECT_EQ(nonZero, 0);
    EXPECT_EQ(otherChanged, 0);
}

TEST(FillGaps, RotatedLayersAreRepairedOnlyWhereHolesWere) {
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++) SliceSinogram[r][a] = (float)((r * 13 + a * 7) % 31) + 0.5f;
    BackprojectAngles('1');
    static float before[Angles][ImageSide][ImageSide];
    for (int a : {0, 1, 64}) {
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) before[a][p][q] = AngleStack[a][p][q];
        FillGaps(a);
        int changedKnown = 0, holesLeft = 0, interiorHolesLeft = 0;
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) {
                float now = AngleStack[a][p][q];
                if (before[a][p][q] != HoleMarker) changedKnown += now != before[a][p][q];
                holesLeft += now == HoleMarker;
                interiorHolesLeft += now == HoleMarker && p > 0 && p < 255 && q > 0 && q < 255;
            }
        EXPECT_EQ(changedKnown, 0) << "angle " << a;
        if (a != 1) {
            EXPECT_EQ(holesLeft, 0) << "angle " << a;
        } else {
            // At 1.4 degrees most holes inside the image have a known pair.
            EXPECT_LT(interiorHolesLeft, 820);
        }
    }
}

TEST(ClipNegatives, ZeroesBelowZeroOnlyInItsLayer) {
    struct { float in, out; bool negativeZero; } cases[] = {
        {-3.0f, 0.0f, false}, {-1e-45f, 0.0f, false}, {-INFINITY, 0.0f, false},
        {-0.0f, 0.0f, true},  {5.0f, 5.0f, false},    {INFINITY, INFINITY, false},
    };
    FillKnownLayer(Layer);
    FillKnownLayer(Layer + 1);
    int n = 0;
    for (auto &c : cases) AngleStack[Layer][255][n++ * 40] = c.in;
    AngleStack[Layer][0][255] = NAN;
    AngleStack[Layer + 1][3][3] = -2.0f;
    ClipNegatives(Layer);
    n = 0;
    for (auto &c : cases) {
        float out = AngleStack[Layer][255][n++ * 40];
        EXPECT_EQ(out, c.out) << c.in;
        EXPECT_EQ((bool)signbit(out), c.negativeZero) << c.in;
    }
    EXPECT_TRUE(isnan(AngleStack[Layer][0][255]));
    EXPECT_EQ(AngleStack[Layer + 1][3][3], -2.0f);
}

TEST(GalleryMax, LargestOfLayerOneOnlyAndNeverBelowZero) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            AngleStack[0][p][q] = 1000.0f;
            AngleStack[1][p][q] = (float)((p + q) % 5);
            AngleStack[2][p][q] = 2000.0f;
        }
    AngleStack[1][255][255] = 9.5f;  // the last pixel of the sweep
    AngleStack[1][7][7] = NAN;
    FindGalleryMax();
    EXPECT_EQ(GalleryMax, 9.5f);

    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) AngleStack[1][p][q] = p == 9 ? -4.0f : 0.0f;
    FindGalleryMax();
    EXPECT_EQ(GalleryMax, 0.0f);
}

}  // namespace gap_filling_test
