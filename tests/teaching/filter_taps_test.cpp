// Filter taps: the closed forms of the ramp and Shepp-Logan filters, the windowed ramps
// against a numerical transform of their frequency responses, and the written files.
#include <math.h>
#include <stdio.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "teaching/filter_taps.h"
#include "support/test_folder.h"

namespace filter_taps_test {


TEST(FilterTaps, RampHasItsKnownValues) {
    EXPECT_DOUBLE_EQ(FilterTap(FilterRamp, 0), 0.25);
    for (int n = 1; n < FilterTapCount; n++) {
        if (n % 2 == 0) {
            EXPECT_EQ(FilterTap(FilterRamp, n), 0.0) << n;
        } else {
            EXPECT_NEAR(FilterTap(FilterRamp, n), -1.0 / (Pi * Pi * n * n), 1e-15) << n;
        }
    }
}

TEST(FilterTaps, SheppLoganHasItsKnownValues) {
    const int ns[] = {0, 1, 2, 7, 127};
    for (int n : ns)
        EXPECT_DOUBLE_EQ(FilterTap(FilterSheppLogan, n), -2.0 / (Pi * Pi * (4.0 * n * n - 1.0)));
    EXPECT_NEAR(FilterTap(FilterSheppLogan, 0), 2.0 / (Pi * Pi), 1e-15);
}

// cos and sin of start + i step for i = 0, 1, 2, ..., turned on by one rotation a step:
// the midpoint rule below takes hundreds of thousands of them, which the C library's
// cos and sin would make slow where the 32-bit tests run emulated. The rounding this
// accumulates stays far below the tolerances.
struct Rotation {
    double c, s, stepC, stepS;
    Rotation(double start, double step) : c(cos(start)), s(sin(start)), stepC(cos(step)), stepS(sin(step)) {}
    void Turn() {
        double t = c * stepC - s * stepS;
        s = s * stepC + c * stepS;
        c = t;
    }
};

// 2 x integral over 0..1/2 of f W(f) cos(2 pi f n) df by the midpoint rule.
static double TransformedResponse(int kind, int n) {
    const int Steps = 200000;
    const double h = 0.5 / Steps;
    Rotation wave(2.0 * Pi * n * 0.5 * h, 2.0 * Pi * n * h), half(Pi * 0.5 * h, Pi * h), whole(Pi * h, 2.0 * Pi * h);
    double sum = 0.0;
    for (int i = 0; i < Steps; i++) {
        double f = (i + 0.5) * h;
        double w = 1.0;
        if (kind == FilterSheppLogan) w = half.s / (Pi * f);
        if (kind == FilterCosine) w = half.c;
        if (kind == FilterHamming) w = 0.54 + 0.46 * whole.c;
        if (kind == FilterHann) w = 0.5 + 0.5 * whole.c;
        sum += f * w * wave.c;
        wave.Turn();
        half.Turn();
        whole.Turn();
    }
    return 2.0 * sum * h;
}

TEST(FilterTaps, WindowedRampsAreTheTransformsOfTheirResponses) {
    const int kinds[] = {FilterRamp, FilterSheppLogan, FilterCosine, FilterHamming, FilterHann};
    const int ns[] = {0, 1, 2, 3, 10, 51, 127};
    for (int kind : kinds)
        for (int n : ns)
            EXPECT_NEAR(FilterTap(kind, n), TransformedResponse(kind, n), 2e-9)
                << FilterKindTable[kind].fileName << " tap " << n;
}

TEST(FilterTaps, FilesHoldTheScaledTapsOnePerLine) {
    std::string folder = TestFolderPath("filter_taps");
    std::filesystem::create_directories(folder);
    for (int kind = 0; kind < FilterKindCount; kind++) {
        if (!FilterKindTable[kind].fileName) continue;
        double taps[FilterTapCount];
        MakeFilterTaps(kind, taps);
        // The ramp family starts at 10, the delta at 1; the shape is kept.
        EXPECT_DOUBLE_EQ(taps[0], kind == FilterDelta ? 1.0 : 10.0) << kind;
        EXPECT_NEAR(taps[5] / taps[0], FilterTap(kind, 5) / FilterTap(kind, 0), 1e-15) << kind;

        std::string path = folder + "/" + FilterKindTable[kind].fileName;
        ASSERT_EQ(WriteFilterFile(path.c_str(), taps), 1);
        FILE *file = fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        int lines = 0, c, last = 0;
        while ((c = fgetc(file)) != EOF) {
            EXPECT_NE(c, '\r');
            if (c == '\n') lines++;
            last = c;
        }
        EXPECT_EQ(last, '\n');
        EXPECT_EQ(lines, FilterTapCount);
        rewind(file);
        for (int n = 0; n < FilterTapCount; n++) {
            double value = NAN;
            ASSERT_EQ(fscanf(file, "%lf", &value), 1) << path << " tap " << n;
            EXPECT_NEAR(value, taps[n], 1e-8 * fabs(taps[0])) << path << " tap " << n;
            if (kind == FilterDelta) {
                EXPECT_EQ(value, n == 0 ? 1.0 : 0.0);
            }
            if (kind == FilterRamp && n % 2 == 0 && n > 0) {
                EXPECT_EQ(value, 0.0);
            }
        }
        fclose(file);
    }
    std::filesystem::remove_all(folder);
}

// 2 x integral of f W(f) cos(2 pi f n) by the midpoint rule, W cut off at top cycles per
// bin (Butterworth's reaching on to 1/2).
static double CutResponse(int kind, int n, double cutoff, int order) {
    const int Steps = 200000;
    double top = 0.5 * cutoff, end = kind == FilterButterworth ? 0.5 : top, h = end / Steps, sum = 0.0;
    // x = f / top: pi x / 2 and pi x turn by these steps.
    double halfStep = Pi * h / (2.0 * top), wholeStep = Pi * h / top;
    Rotation wave(2.0 * Pi * n * 0.5 * h, 2.0 * Pi * n * h), half(0.5 * halfStep, halfStep), whole(0.5 * wholeStep, wholeStep);
    for (int i = 0; i < Steps; i++) {
        double f = (i + 0.5) * h, x = f / top, w = 1.0;
        if (kind == FilterSheppLogan) w = half.s / (Pi * x / 2);
        if (kind == FilterCosine) w = half.c;
        if (kind == FilterHamming) w = 0.54 + 0.46 * whole.c;
        if (kind == FilterHann) w = 0.5 + 0.5 * whole.c;
        if (kind == FilterButterworth) {
            double power = 1.0;
            for (int k = 0; k < order; k++) power *= x * x;
            w = 1.0 / (1.0 + power);
        }
        sum += f * w * wave.c;
        wave.Turn();
        half.Turn();
        whole.Turn();
    }
    return 2.0 * sum * h;
}

TEST(FilterTaps, CutFiltersAreTheTransformsOfTheirCutResponses) {
    const int kinds[] = {FilterRamp, FilterSheppLogan, FilterCosine, FilterHamming, FilterHann, FilterButterworth};
    const double cutoffs[] = {1.0, 0.5, 0.3};
    const int ns[] = {0, 1, 2, 5, 33, 127};
    for (int kind : kinds)
        for (double cutoff : cutoffs)
            for (int n : ns)
                EXPECT_NEAR(CutFilterTap(kind, n, cutoff, 4), CutResponse(kind, n, cutoff, 4), 2e-9)
                    << FilterKindTable[kind].name << " cutoff " << cutoff << " tap " << n;
    // The ramp cut at half Nyquist: 1/16 at 0, -1/(4 pi^2) at 2, and the closed forms
    // of the full cutoff again at cutoff 1.
    EXPECT_NEAR(CutFilterTap(FilterRamp, 0, 0.5, 0), 1.0 / 16, 1e-16);
    EXPECT_NEAR(CutFilterTap(FilterRamp, 2, 0.5, 0), -1.0 / (4 * Pi * Pi), 1e-16);
    for (int kind = 0; kind < FilterKindCount; kind++) {
        if (!FilterKindTable[kind].tap) continue;
        for (int n : ns) EXPECT_NEAR(CutFilterTap(kind, n, 1.0, 0), FilterTap(kind, n), 1e-15) << FilterKindTable[kind].name << n;
    }
    // A steep Butterworth is nearly the cut ramp.
    EXPECT_NEAR(CutFilterTap(FilterButterworth, 3, 0.5, 20), CutFilterTap(FilterRamp, 3, 0.5, 0), 1e-3);

    double taps[FilterTapCount];
    MakeCutFilterTaps(FilterHann, 0.5, 0, 7, taps);
    EXPECT_EQ(taps[0], 10.0);
    EXPECT_NEAR(taps[3], 10.0 * CutFilterTap(FilterHann, 3, 0.5, 0) / CutFilterTap(FilterHann, 0, 0.5, 0), 1e-13);
    for (int n = 7; n < FilterTapCount; n++) EXPECT_EQ(taps[n], 0.0) << n;
}

}  // namespace filter_taps_test
