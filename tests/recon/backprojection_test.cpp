// The method question, the filtering of a projection and its rotation into a layer.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <string>

#include "recon/backprojection.h"
#include "recon/workflow.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"

namespace backprojection_test {

static const float Two60 = 1152921504606846976.0f;  // 2^60: adding 1 to it changes nothing

static void ClearTaps() {
    for (int l = 0; l < FilterTapCount; l++) FilterTaps[l] = 0.0;
}

// Every SmearImage pixel holds its own position, so a misplaced sample shows.
static float SmearId(int j, int i) { return (float)(j * 256 + i); }

static void FillSmearWithIds() {
    for (int j = 0; j < ImageSide; j++)
        for (int i = 0; i < ImageSide; i++) SmearImage[j][i] = SmearId(j, i);
}

static void FillLayer(int a, float value) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) AngleStack[a][p][q] = value;
}

static int HolesIn(int a) {
    int holes = 0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) holes += AngleStack[a][p][q] == HoleMarker;
    return holes;
}

TEST(Rotation, QuarterTurnsMoveEveryPixelExactly) {
    FillSmearWithIds();
    FillLayer(0, HoleMarker);
    FillLayer(64, HoleMarker);
    RotateIntoStack(0);
    RotateIntoStack(64);
    int wrong0 = 0, wrong64 = 0;
    for (int j = 0; j < ImageSide; j++) {
        for (int i = 0; i < ImageSide; i++) {
            wrong0 += AngleStack[0][j][i] != SmearId(j, i);
            wrong64 += AngleStack[64][255 - i][j] != SmearId(j, i);
        }
    }
    EXPECT_EQ(wrong0, 0);
    EXPECT_EQ(wrong64, 0);
    EXPECT_EQ(HolesIn(0), 0);
    EXPECT_EQ(HolesIn(64), 0);
}

TEST(Rotation, HolesLeftByObliqueAngles) {
    struct { int a, holes; } cases[] = {{1, 820}, {32, 20437}, {0, 0}, {64, 0}};
    FillSmearWithIds();
    for (auto &c : cases) {
        FillLayer(c.a, HoleMarker);
        RotateIntoStack(c.a);
        EXPECT_EQ(HolesIn(c.a), c.holes) << "angle " << c.a;
        EXPECT_EQ(ImageSide * ImageSide - HolesIn(c.a), 65536 - c.holes) << "angle " << c.a;
    }
}

TEST(Rotation, LastSourcePixelWinsAndOnlyItsLayerChanges) {
    // At 45 degrees (j, i) = (131, 130) and, later in the loop, (131, 131) both land
    // on (128, 132): the later one must stay, the earlier one vanish from the layer.
    FillSmearWithIds();
    FillLayer(31, 7.0f);
    FillLayer(32, HoleMarker);
    FillLayer(33, 7.0f);
    RotateIntoStack(32);
    EXPECT_EQ(AngleStack[32][128][132], SmearId(131, 131));
    int loserSeen = 0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) loserSeen += AngleStack[32][p][q] == SmearId(131, 130);
    EXPECT_EQ(loserSeen, 0);
    EXPECT_EQ(HolesIn(31), 0);
    EXPECT_EQ(HolesIn(33), 0);
    EXPECT_EQ(AngleStack[31][100][200], 7.0f);
    EXPECT_EQ(AngleStack[33][200][100], 7.0f);
}

TEST(Filter, SimpleMethodCopiesBitForBit) {
    const float specials[] = {-0.0f, NAN, -INFINITY, 1e-45f, -3.5f, 3.4e38f};
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++)
            SliceSinogram[r][a] = (r + a) % 9 == 0 ? specials[(r + a) % 6] : (float)(r * 3 - a) / 7.0f;
    for (int a = 0; a < Angles; a++) FilterColumn(a, '1');
    int differing = 0;
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++)
            differing += memcmp(&FilteredSinogram[r][a], &SliceSinogram[r][a], sizeof(float)) != 0;
    EXPECT_EQ(differing, 0);
}

TEST(Filter, DeltaFilterEqualsSimpleForEveryOtherAnswer) {
    ClearTaps();
    FilterTaps[0] = 1.0;
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++)
            SliceSinogram[r][a] = (r * 7 + a) % 5 == 0 ? -0.0f : (float)((r * 37 + a * 11) % 101) * 1.0e30f - 5.0e31f;
    // Only '1' copies; '2', an empty answer and any other text filter.
    for (char method : {'2', '\0', 'x', 'n'}) {
        for (int a = 0; a < Angles; a++) FilteredSinogram[0][a] = 12345.0f;
        for (int a = 0; a < Angles; a++) FilterColumn(a, method);
        int differing = 0;
        for (int r = 0; r < Bins; r++)
            for (int a = 0; a < Angles; a++) differing += FilteredSinogram[r][a] != SliceSinogram[r][a];
        EXPECT_EQ(differing, 0) << "answer code " << (int)method;
    }
}

TEST(Filter, ImpulseGivesTheTapsOnBothSidesAndNothingBeyondTheEnds) {
    // A single unit sample at bin b answers with tap |k - b| at every bin k that the
    // 255 offsets reach, and 0 elsewhere: bins 0 and 255 take only their own terms.
    for (int l = 0; l < FilterTapCount; l++) FilterTaps[l] = 1.0 + l / 128.0;
    for (int b : {0, 255, 127, 128, 3}) {
        for (int r = 0; r < Bins; r++) SliceSinogram[r][5] = 0.0f;
        SliceSinogram[b][5] = 1.0f;
        FilterColumn(5, '2');
        for (int k = 0; k < Bins; k++) {
            int d = abs(k - b);
            float expected = d < FilterTapCount ? (float)FilterTaps[d] : 0.0f;
            ASSERT_EQ(FilteredSinogram[k][5], expected) << "impulse at " << b << ", bin " << k;
        }
    }
}

TEST(Filter, TermsAreAddedInDoublePrecisionCentreForwardThenBackward) {
    // Each case is built so that any other order, or a float sum, changes the result.
    struct Term { int offset; float sample; };
    struct Case { const char *what; Term terms[3]; double expected; } cases[] = {
        {"centre before the sides", {{0, 1.0f}, {1, Two60}, {-1, -Two60}}, 0.0},
        {"forward side before backward side", {{1, Two60}, {2, 1.0f}, {-1, -Two60}}, 0.0},
        {"forward side outward", {{1, Two60}, {2, -Two60}, {3, 1.0f}}, 1.0},
        {"backward side outward", {{-1, Two60}, {-2, -Two60}, {-3, 1.0f}}, 1.0},
        {"double precision sum", {{0, 1.0f}, {1, 1073741824.0f}, {2, -1073741824.0f}}, 1.0},
    };
    ClearTaps();
    for (int l = 0; l < 4; l++) FilterTaps[l] = 1.0;
    const int k = 128;
    for (auto &c : cases) {
        for (int r = 0; r < Bins; r++) SliceSinogram[r][9] = 0.0f;
        for (auto &t : c.terms) SliceSinogram[k + t.offset][9] = t.sample;
        FilterColumn(9, '2');
        EXPECT_EQ(FilteredSinogram[k][9], (float)c.expected) << c.what;
    }
    // The tap keeps its double precision: as a float, 1 + 2^-40 would be 1 and the
    // two terms would cancel completely.
    ClearTaps();
    FilterTaps[0] = 1.0 + ldexp(1.0, -40);
    FilterTaps[1] = 1.0;
    for (int r = 0; r < Bins; r++) SliceSinogram[r][9] = 0.0f;
    SliceSinogram[k][9] = 1073741824.0f;
    SliceSinogram[k + 1][9] = -1073741824.0f;
    FilterColumn(9, '2');
    EXPECT_EQ(FilteredSinogram[k][9], 0.0009765625f);
}

TEST(Backprojection, ResetsTheUsedLayersAndTouchesNothingElse) {
    // Everything is first set to a sentinel; afterwards the used layers are either
    // holes or samples (all samples here are >= 0), the rest still holds the sentinel.
    const float sentinel = 42.25f;
    for (int p = 0; p < ArraySide; p++)
        for (int q = 0; q < ArraySide; q++)
            for (int a = 0; a < 140; a++) AngleStack[a][p][q] = sentinel;
    AngleStack[StackLayersDeclared - 1][0][0] = sentinel;
    for (int r = 0; r < ArraySide; r++)
        for (int a = 0; a < ArraySide; a++) {
            SliceSinogram[r][a] = (r < Bins && a < Angles) ? (float)((r * 5 + a) % 23) : sentinel;
            FilteredSinogram[r][a] = sentinel;
            SmearImage[r][a] = sentinel;
        }
    BackprojectAngles('1');

    long sentinelsInUsed = 0, changedOutside = 0;
    for (int p = 0; p < ArraySide; p++)
        for (int q = 0; q < ArraySide; q++)
            for (int a = 0; a < 140; a++) {
                bool used = p < ImageSide && q < ImageSide && a < Angles;
                if (used) sentinelsInUsed += AngleStack[a][p][q] == sentinel;
                else changedOutside += AngleStack[a][p][q] != sentinel;
            }
    EXPECT_EQ(sentinelsInUsed, 0);
    EXPECT_EQ(changedOutside, 0);
    EXPECT_EQ(AngleStack[StackLayersDeclared - 1][0][0], sentinel);
    EXPECT_EQ(HolesIn(1), 820);
    EXPECT_EQ(HolesIn(127), HolesIn(1));  // the mirror angle leaves as many holes

    // All 128 columns were filled, and the smear left behind is that of angle 127.
    int differing = 0;
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++) differing += FilteredSinogram[r][a] != SliceSinogram[r][a];
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(FilteredSinogram[Bins][0], sentinel);
    EXPECT_EQ(FilteredSinogram[0][Angles], sentinel);
    EXPECT_EQ(SmearImage[200][3], SliceSinogram[200][127]);
    EXPECT_EQ(SmearImage[Bins][0], sentinel);
    EXPECT_EQ(SmearImage[0][ImageSide], sentinel);
}

TEST(MethodQuestion, AsksInThreePrintsAndReturnsTheFirstCharacter) {
    struct { const char *typed; char method; } cases[] = {
        {"1", '1'}, {"2", '2'}, {"", '\0'}, {"  12", '1'}, {"simple", 's'},
    };
    for (auto &c : cases) {
        ResetFakeConsole();
        FakeQueueLine(c.typed);
        EXPECT_EQ(ChooseMethod(), c.method) << c.typed;
        EXPECT_EQ(FakeScanCount, 1);
        std::string asked = "\n\n Select Reconstruction method \n\n 1: Simple BackProjection \n 2: Filtered "
                            "BackProjection \n ";
        EXPECT_EQ(FakeConsoleText().substr(0, asked.size()), asked) << c.typed;
    }
}

}  // namespace backprojection_test
