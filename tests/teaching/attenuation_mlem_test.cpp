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
#include "teaching/ensemble.h"
#include "teaching/mlem.h"
#include "teaching/mlem_steps.h"
#include "teaching/phantoms.h"
#include "teaching/picture_file.h"
#include "teaching/picture_projection.h"
#include "teaching/poisson_noise.h"
#include "teaching/post_smoothing.h"
#include "teaching/sample_volume.h"
#include "teaching/slice_comparison.h"
#include "teaching/worker_threads.h"

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
            for (int r = 0; r < Bins; r++) MlemFactor[a][r] = 1.0f, MlemAdditive[a][r] = 0.0f;
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
            MlemAdditive[a][r] = 0.0f;   // a model of scatter or randoms run before in this process adds nothing here
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

// MLEM as its step page shows it, and the smoothing after the iterations: the captured
// update is what the iteration did to the image, a perfect fit's ratio is 1, and the
// Gaussian keeps a flat field flat and has the width it was given.
static int InField(int p, int q) { return hypot(p - RotationCentre, q - RotationCentre) <= FieldRadius; }

static const struct { const char *what; int noisy, attenuated; } StepSlices[] = {
    {"noise-free head", 0, 0}, {"Poisson head", 1, 0}, {"attenuated Poisson head, factors in the model", 1, 1}};

TEST(MlemSteps, TheUpdateIsTheNextImageOverThisOne) {
    SeedNoise(7);
    for (const auto &c : StepSlices) {
        HeadCounts(c.noisy, c.attenuated);
        StartMlem(1);
        for (int k = 1; k <= 5; k++) {
            CaptureStepStart();
            MlemIteration();
            CaptureStepEnd();
            double worst = 0.0;
            for (int p = 0; p < ImageSide; p++)
                for (int q = 0; q < ImageSide; q++) {
                    if (!InField(p, q) || StepImage[p][q] <= 0.0) continue;
                    worst = fmax(worst, fabs(StepUpdate[p][q] - MlemImage[p][q] / StepImage[p][q]));
                }
            EXPECT_LT(worst, 1e-12) << c.what << ", iteration " << k;
        }
    }
}

TEST(MlemSteps, APerfectFitsRatioIsOneWhereverCountsAreExpected) {
    for (const auto &c : StepSlices) {
        HeadCounts(0, c.attenuated);
        StartMlem(1);
        for (int k = 0; k < 3; k++) MlemIteration();
        // Counts that the current image explains exactly, to a float's rounding.
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++) MlemCounts[a][r] = (float)MlemExpected[a][r];
        CaptureStepStart();
        double worst = 0.0;
        long expecting = 0, zeroElsewhere = 1;
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++) {
                if (StepExpected[a][r] > 0.0) {
                    worst = fmax(worst, fabs(StepRatio[a][r] - 1.0));
                    expecting++;
                } else if (StepRatio[a][r] != 0.0) {
                    zeroElsewhere = 0;
                }
            }
        EXPECT_LT(worst, 1e-6) << c.what;
        EXPECT_GT(expecting, Angles * Bins / 2) << c.what;
        EXPECT_TRUE(zeroElsewhere) << c.what;
        // So the update changes nothing in the field.
        MlemIteration();
        CaptureStepEnd();
        double change = 0.0;
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++)
                if (StepSensitivity[p][q] > 0.0) change = fmax(change, fabs(StepUpdate[p][q] - 1.0));
        EXPECT_LT(change, 1e-5) << c.what;
    }
}

static double Image[ImageSide][ImageSide];

TEST(PostSmoothing, KeepsAFlatFieldFlatAndHasTheWidthAsked) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) Image[p][q] = InField(p, q) ? 3.0 : 0.0;
    SmoothImage(Image, 6.0);
    double worst = 0.0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) worst = fmax(worst, fabs(Image[p][q] - (InField(p, q) ? 3.0 : 0.0)));
    EXPECT_LT(worst, 1e-12) << "the field's edge keeps its level and the black around it stays black";

    for (double fwhm : {0.0, 2.0, 4.0, 8.0, 20.0}) {
        memset(Image, 0, sizeof Image);
        Image[128][128] = 1.0;
        SmoothImage(Image, fwhm);
        double sum = 0.0, half = Image[128][128] / 2.0;
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) sum += Image[p][q];
        EXPECT_NEAR(sum, 1.0, 1e-12) << fwhm << " pixels: a point away from the edge keeps its counts";
        // The width at half the peak along P, between the samples that straddle it.
        int right = 128;
        while (right + 1 < ImageSide && Image[right + 1][128] >= half) right++;
        double beyond = right + (Image[right][128] - half) / (Image[right][128] - Image[right + 1][128]);
        double width = fwhm > 0.0 ? 2.0 * (beyond - 128.0) : 0.0;
        EXPECT_NEAR(width, fwhm, fwhm > 3.0 ? 0.05 * fwhm : 0.5) << fwhm << " pixels";
    }
}

// The trade-off's figures on ensembles whose answers are known: the truth itself has a
// contrast recovery of 1, no bias and, repeated, no noise; noise-free MLEM's contrast
// rises with the iterations while repeating one image adds no noise; real noise does.
TEST(Ensemble, FiguresOfKnownEnsembles) {
    BuildHeadPhantom();
    RegionCount = 0;
    TruthFromPhantom(HeadMiddleSlice);
    AddSphereRegions(HeadMiddleSlice);
    ASSERT_GE(RegionCount, 3);
    ASSERT_TRUE(FindFlatRegion(10.0));
    ClearEnsemble();
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) Image[p][q] = 7.0 * TruthSlice[p][q];
    for (int i = 0; i < 3; i++) AddToEnsemble(0, Image);
    MeasureEnsemble(0);
    for (int r = 0; r < RegionCount; r++) EXPECT_NEAR(EnsembleRecovery[r], 1.0, 1e-6) << RegionName[r];
    EXPECT_EQ(EnsembleNoise, 0.0);
    EXPECT_LT(EnsembleBiasRms, 1e-6);

    const int recorded[] = {2, 5, 10, 20};
    const int slots = sizeof recorded / sizeof recorded[0];
    HeadCounts(0, 0);
    StartMlem(1);
    for (int k = 1, i = 0; i < slots; k++) {
        MlemIteration();
        if (k != recorded[i]) continue;
        for (int copy = 0; copy < 4; copy++) AddToEnsemble(1 + i, MlemImage);
        i++;
    }
    double last[RegionsMax];
    for (int i = 0; i < slots; i++) {
        MeasureEnsemble(1 + i);
        EXPECT_EQ(EnsembleNoise, 0.0) << recorded[i] << " iterations, four identical images";
        for (int r = 0; r < RegionCount; r++) {
            if (strncmp(RegionName[r], "hot", 3) != 0) continue;
            if (i > 0) {
                EXPECT_GT(EnsembleRecovery[r], last[r]) << RegionName[r] << " at " << recorded[i] << " iterations";
            }
            last[r] = EnsembleRecovery[r];
        }
    }
    SeedNoise(3);
    for (int i = 0; i < 2; i++) {
        HeadCounts(1, 0);
        StartMlem(1);
        for (int k = 0; k < 2; k++) MlemIteration();
        AddToEnsemble(slots + 1, MlemImage);
    }
    MeasureEnsemble(slots + 1);
    EXPECT_GT(EnsembleNoise, 0.001) << "two Poisson realisations";
}

// Each thread has its own MLEM and noise: pieces rebuilt at once, each of its own counts,
// subsets and smoothing, give the bits each gives alone; and an ensemble of identical
// realisations rebuilt at once still has no noise.
static double Rebuilt[2][WorkersMax][ImageSide][ImageSide];   // [alone, at once][piece][P][Q]
static int RebuildingAtOnce, SameSeed;
static void RebuildPiece(int piece) {
    SeedNoise(SameSeed ? 40 : 40 + piece);
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            MlemFactor[a][r] = 1.0f, MlemAdditive[a][r] = 0.0f;
            MlemCounts[a][r] = (float)PoissonCount(SampleVolume[HeadMiddleSlice][a][r]);
        }
    StartMlem(SameSeed ? 1 : 1 << piece);
    for (int k = 0; k < 3; k++) MlemIteration();
    SmoothImage(MlemImage, SameSeed ? 0.0 : 2.0 + piece);
    memcpy(Rebuilt[RebuildingAtOnce][piece], MlemImage, sizeof MlemImage);
}

TEST(Mlem, PiecesRebuiltAtOnceOnThreadsAreTheBitsOfEachAlone) {
    BuildHeadPhantom();
    ProjectPhantom(1000.0);
    PrepareChords();
    memset(Rebuilt, 0xFF, sizeof Rebuilt);   // NaN where a piece never ran
    SameSeed = 0, RebuildingAtOnce = 0;
    for (int piece = 0; piece < WorkersMax; piece++) RebuildPiece(piece);
    RebuildingAtOnce = 1;
    RunWorkers(WorkersMax, RebuildPiece);
    for (int piece = 0; piece < WorkersMax; piece++)
        EXPECT_EQ(memcmp(Rebuilt[0][piece], Rebuilt[1][piece], sizeof Rebuilt[0][piece]), 0) << "piece " << piece;

    RegionCount = 0;
    TruthFromPhantom(HeadMiddleSlice);
    AddSphereRegions(HeadMiddleSlice);
    ASSERT_TRUE(FindFlatRegion(10.0));
    SameSeed = 1, RebuildingAtOnce = 1;
    RunWorkers(WorkersMax, RebuildPiece);
    ClearEnsemble();
    for (int piece = 0; piece < WorkersMax; piece++) AddToEnsemble(0, Rebuilt[1][piece]);
    MeasureEnsemble(0);
    EXPECT_EQ(EnsembleNoise, 0.0) << "identical realisations rebuilt on threads at once";
    EXPECT_GT(EnsembleRecovery[0], 0.0);
}

}  // namespace attenuation_mlem_test
