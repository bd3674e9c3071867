// The sum over angles, the background level and its subtraction, and the two maxima.
#include <gtest/gtest.h>
#include <math.h>
#include <stdint.h>

#include "recon/summation.h"
#include "recon/working_arrays.h"

namespace summation_test {

static const float Two25 = 33554432.0f;  // 2^25: a float sum of it and 1 stays 2^25

static void FillStack(float value) {
    for (int p = 0; p < ArraySide; p++)
        for (int q = 0; q < ArraySide; q++)
            for (int a = 0; a < 130; a++) AngleStack[a][p][q] = value;
}

static void FillRecon(float value) {
    for (int p = 0; p < ArraySide; p++)
        for (int q = 0; q < ArraySide; q++) ReconImage[p][q] = value;
}

TEST(SumAngles, SinglePrecisionInAscendingAngleOrderFromZero) {
    FillStack(0.0f);
    FillRecon(77.0f);  // must be cleared first, and kept outside the used extent
    // Pixel (3, 4): 1 + 2^25 - 2^25 in this order is 0 in float; a double sum or the
    // descending order would give 1.
    AngleStack[0][3][4] = 1.0f;
    AngleStack[1][3][4] = Two25;
    AngleStack[2][3][4] = -Two25;
    // Pixel (255, 0): every layer counts, from 0 to 127; layers 128 and above do not.
    for (int a = 0; a < 130; a++) AngleStack[a][255][0] = (float)(a + 1);
    // Pixel (0, 255): a NaN passes into the sum.
    AngleStack[127][0][255] = NAN;
    SumAngles();
    EXPECT_EQ(ReconImage[3][4], 0.0f);
    EXPECT_EQ(ReconImage[255][0], 128.0f * 129.0f / 2.0f);
    EXPECT_TRUE(isnan(ReconImage[0][255]));
    EXPECT_EQ(ReconImage[100][100], 0.0f);
    EXPECT_EQ(ReconImage[256][0], 77.0f);
    EXPECT_EQ(ReconImage[0][256], 77.0f);
    EXPECT_EQ(ReconImage[259][259], 77.0f);
}

TEST(Maxima, LargestUsedValueNeverBelowZeroNaNPassedOver) {
    FillRecon(-5.0f);
    ReconImage[256][3] = 1000.0f;  // outside the used extent
    FindReconMax();
    EXPECT_EQ(ReconMax, 0.0f);

    ReconImage[0][0] = NAN;
    ReconImage[255][255] = 12.5f;
    ReconImage[17][200] = 12.25f;
    FindReconMax();
    EXPECT_EQ(ReconMax, 12.5f);
    FindDisplayMax();
    EXPECT_EQ(DisplayMax, 12.5f);
}

TEST(BackgroundLevel, ThirtyPercentTruncatedTowardZero) {
    struct { float reconMax; int level; } cases[] = {
        {10.0f, 3},
        {19.0f, 5},            // 5.7 is cut
        {3.3f, 0},
        {10.0f / 3.0f, 0},     // just below 1 in double
        {3.3334f, 1},
        {0.0f, 0},
        {1000000.0f, 300000},
        {7158278656.0f, 2147483596},  // the last float whose level fits
        {7158279168.0f, INT32_MAX},   // the next one: saturated, not converted
        {1e10f, INT32_MAX},
        {INFINITY, INT32_MAX},
        {NAN, 0},
        {-10.0f, -3},
    };
    for (auto &c : cases) EXPECT_EQ(BackgroundLevelOf(c.reconMax), c.level) << c.reconMax;
}

TEST(SubtractBackground, RemovesTheWholeNumberAsFloatAndStoresIt) {
    FillRecon(1.0f);
    ReconImage[40][41] = 10.0f;
    ReconImage[256][256] = 50.0f;
    FindReconMax();
    SubtractBackground();
    EXPECT_EQ(BackgroundLevel, 3);
    EXPECT_EQ(ReconImage[40][41], 7.0f);
    EXPECT_EQ(ReconImage[0][0], -2.0f);  // not clipped
    EXPECT_EQ(ReconImage[255][255], -2.0f);
    EXPECT_EQ(ReconImage[256][256], 50.0f);
    FindDisplayMax();
    EXPECT_EQ(DisplayMax, 7.0f);

    // Below 10/3 nothing is removed.
    FillRecon(0.5f);
    ReconImage[9][9] = 3.3f;
    FindReconMax();
    SubtractBackground();
    EXPECT_EQ(BackgroundLevel, 0);
    EXPECT_EQ(ReconImage[9][9], 3.3f);
    EXPECT_EQ(ReconImage[0][0], 0.5f);

    // An infinite peak removes the largest level instead of an undefined one.
    FillRecon(0.0f);
    ReconImage[1][2] = INFINITY;
    FindReconMax();
    SubtractBackground();
    EXPECT_EQ(BackgroundLevel, INT32_MAX);
    EXPECT_EQ(ReconImage[1][2], INFINITY);
    EXPECT_EQ(ReconImage[0][0], -2147483648.0f);
}

}  // namespace summation_test
