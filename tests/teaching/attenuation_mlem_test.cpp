// Attenuation and MLEM on their physical properties: a uniform body's factor is
// exp(-mu x its chord) with the chord from geometry; the model's line sums are the exact
// chords through pixel squares; MLEM's likelihood never falls and its image stays
// non-negative; OSEM gets there in fewer passes; every build computes the same bits.
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <gtest/gtest.h>

#include "teaching/attenuation.h"
#include "teaching/fnv_hash.h"
#include "teaching/mlem.h"
#include "teaching/phantoms.h"
#include "teaching/picture_file.h"
#include "teaching/picture_projection.h"
#include "teaching/poisson_noise.h"
#include "teaching/sample_volume.h"

namespace attenuation_mlem_test {

const double CmPerPixel = PixelMmDefault / 10.0;

// A centred square picture of side pixels, each at level.
static void SquarePicture(int side, float level) {
    PictureColumns = PictureRows = side;
    PictureWhite = 255.0;
    for (int row = 0; row < side; row++)
        for (int column = 0; column < side; column++) PictureLevel[row][column] = level;
}

// The chord of the line x cos + y sin = t through a centred square: its footprint is
// flat at side / max(|cos|, |sin|) and falls linearly to 0 over the corners.
static double SquareChord(double side, double degrees, double t) {
    double c = fabs(cos(degrees * Pi / 180.0)), s = fabs(sin(degrees * Pi / 180.0));
    double big = fmax(c, s), small = fmin(c, s), d = fabs(t);
    if (d <= side * (big - small) / 2) return side / big;
    if (d >= side * (big + small) / 2) return 0.0;
    return (side * (big + small) / 2 - d) / (big * small);
}

struct UniformBody { const char *what; int disc; double centreX, centreY, size, mu; };

TEST(Attenuation, AUniformBodysFactorIsExpOfMinusMuTimesItsChord) {
    const UniformBody bodies[] = {
        {"water cylinder of radius 50 on the axis", 1, 0.0, 0.0, 50.0, WaterMuPerCm},
        {"water cylinder of radius 30 off the axis", 1, 25.0, -40.0, 30.0, WaterMuPerCm},
        {"picture, water where not black", 0, 0.0, 0.0, 60.0, WaterMuPerCm},
        {"map picture of grey 170: bone", 0, 0.0, 0.0, 60.0, BoneMuPerCm},
    };
    for (const UniformBody &b : bodies) {
        if (b.disc) {
            ClearPhantom();
            AddBody(ShapeCylinder, b.centreX, b.centreY, HeadMiddleSlice, b.size, b.size, 10.0, 0.0, 1.0);
            BodyMuPerCm[0] = b.mu;
            PhantomAttenuation(HeadMiddleSlice, PixelMmDefault);
        } else {
            SquarePicture((int)b.size, 170.0f);
            if (b.mu == WaterMuPerCm) WaterWhereNotBlack();
            else MuFromGreys();
            PictureAttenuation(HeadMiddleSlice, PixelMmDefault);
        }
        double worst = 0.0;
        for (int a = 0; a < Angles; a += 3)
            for (int r = 0; r < Bins; r++) {
                double degrees = a * AngleStepDegrees, t = r - RotationCentre, chord;
                if (b.disc) {
                    double d = t - (b.centreX * cos(degrees * Pi / 180.0) + b.centreY * sin(degrees * Pi / 180.0));
                    chord = d * d < b.size * b.size ? 2.0 * sqrt(b.size * b.size - d * d) : 0.0;
                } else {
                    chord = SquareChord(b.size, degrees, t);
                }
                worst = fmax(worst, fabs(AttenuationFactor[HeadMiddleSlice][a][r] - exp(-b.mu * chord * CmPerPixel)));
            }
        EXPECT_LT(worst, 1e-6) << b.what;
    }
}

// MlemImage holds the picture read last, placed as the sinogram tool places it.
static void PictureIntoMlemImage() {
    memset(MlemImage, 0, sizeof MlemImage);
    for (int row = 0; row < PictureRows; row++)
        for (int column = 0; column < PictureColumns; column++)
            MlemImage[PictureLeft() + column][ImageSide - 1 - (PictureTop() + row)] =
                PictureLevel[row][column] / PictureWhite;
}

TEST(Mlem, TheModelsLineSumsAreThePicturesExactChords) {
    struct { int width, height; } pictures[] = {{7, 5}, {256, 256}, {200, 31}};
    for (auto size : pictures) {
        PictureColumns = size.width;
        PictureRows = size.height;
        PictureWhite = 10.0;
        for (int row = 0; row < size.height; row++)
            for (int column = 0; column < size.width; column++)
                PictureLevel[row][column] = (float)((3 * column + 5 * row + column * row) % 11);
        PictureIntoMlemImage();
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++) MlemFactor[a][r] = 1.0f;
        ProjectMlemImage();
        double worst = 0.0, largest = 0.0;
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r += size.width > 100 ? 1 : 5) {
                double exact = PictureLineIntegral(a * AngleStepDegrees, r - RotationCentre);
                worst = fmax(worst, fabs(MlemExpected[a][r] - exact));
                largest = fmax(largest, exact);
            }
        EXPECT_LT(worst, 1e-6 * largest) << size.width << " x " << size.height;
    }
}

// The noise-free or noisy head's middle slice, attenuated or not, as MLEM's counts.
static void HeadCounts(int noisy, int attenuated) {
    BuildHeadPhantom();
    ProjectPhantom(1000.0);
    PhantomAttenuation(HeadMiddleSlice, PixelMmDefault);
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            float factor = attenuated ? AttenuationFactor[HeadMiddleSlice][a][r] : 1.0f;
            MlemFactor[a][r] = factor;
            MlemCounts[a][r] = noisy ? (float)PoissonCount(SampleVolume[HeadMiddleSlice][a][r] * factor)
                                     : SampleVolume[HeadMiddleSlice][a][r] * factor;
        }
}

TEST(Mlem, WithOneSubsetTheLikelihoodNeverFallsAndNoPixelGoesNegative) {
    SeedNoise(19);
    const int iterations = 8;
    const struct { const char *what; int noisy, attenuated; } cases[] = {
        {"noise-free head", 0, 0}, {"Poisson head", 1, 0}, {"attenuated Poisson head, factors in the model", 1, 1}};
    for (const auto &c : cases) {
        HeadCounts(c.noisy, c.attenuated);
        StartMlem(1);
        double last = MlemLogLikelihood;
        for (int k = 1; k <= iterations; k++) {
            MlemIteration();
            EXPECT_GE(MlemLogLikelihood, last - 1e-12 * fabs(last)) << c.what << ", iteration " << k;
            last = MlemLogLikelihood;
        }
        double lowest = 0.0, outside = 0.0;
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) {
                lowest = fmin(lowest, MlemImage[p][q]);
                if (hypot(p - RotationCentre, q - RotationCentre) > FieldRadius) outside = fmax(outside, fabs(MlemImage[p][q]));
            }
        EXPECT_EQ(lowest, 0.0) << c.what;
        EXPECT_EQ(outside, 0.0) << c.what;
        printf("%s: log-likelihood %.1f after %d iterations\n", c.what, last, iterations);
    }
}

// S subsets do about the work of S MLEM iterations in one pass.
TEST(Mlem, OsemOfSSubsetsReachesMlemsLikelihoodInAboutAnSthOfThePasses) {
    const int mlemPasses = 16;
    SeedNoise(19);
    HeadCounts(1, 0);
    StartMlem(1);
    for (int k = 0; k < mlemPasses; k++) MlemIteration();
    double target = MlemLogLikelihood;
    for (int subsets : {4, 8, 16}) {
        StartMlem(subsets);
        int passes = 0;
        while (MlemLogLikelihood < target && passes < mlemPasses) {
            MlemIteration();
            passes++;
        }
        printf("%d subsets: MLEM's likelihood after %d passes of %d\n", subsets, passes, mlemPasses);
        EXPECT_LE(passes, 2 * mlemPasses / subsets) << subsets << " subsets";
    }
}

// The attenuated head volume and two OSEM passes of its middle slice: the same bits from
// every build (natively, 32-bit and under Wine).
TEST(Mlem, EveryBuildComputesTheSameBits) {
    BuildHeadPhantom();
    ProjectPhantom(1000.0);
    for (int s = 0; s < Slices; s++) PhantomAttenuation(s, PixelMmDefault);
    ApplyAttenuation();
    EXPECT_EQ(SampleVolumeHash(), 10963533235084789969ULL);
    HeadCounts(0, 1);
    StartMlem(4);
    MlemIteration();
    MlemIteration();
    EXPECT_EQ(Fnv1a(FnvStart, MlemImage, sizeof MlemImage), 8451350213033344836ULL);
}

}  // namespace attenuation_mlem_test
