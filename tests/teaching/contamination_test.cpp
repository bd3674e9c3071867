// Scatter, randoms and detector efficiencies on their properties: each component's share
// is the fraction asked for; the corrections with the known terms give back the plain
// counts for every combination; scatter reaches lines that miss the body; MLEM with the
// effects in its model keeps its likelihood rising and rebuilds what it rebuilds from
// plain counts.
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <gtest/gtest.h>

#include "teaching/attenuation.h"
#include "teaching/contamination.h"
#include "teaching/fnv_hash.h"
#include "teaching/mlem.h"
#include "teaching/normalisation.h"
#include "teaching/phantoms.h"
#include "teaching/sample_volume.h"

namespace contamination_test {

const int S = HeadMiddleSlice;
static float Plain[Angles][Bins];   // the head's middle slice, noise-free, before any effect

// Every combination of the four effects, as a mask: the data holds them, at these sizes.
static void SetEffects(int mask, double scatter = 0.3, double randoms = 0.2, double spread = 0.1) {
    ScatterFraction = mask & EffectScatter ? scatter : 0.0;
    RandomsFraction = mask & EffectRandoms ? randoms : 0.0;
    EffectsNormalised = (mask & EffectNormalisation) != 0;
    if (EffectsNormalised) DrawEfficiencies(spread, 7);
    else EqualEfficiencies();
}

// Slice S of SampleVolume: the plain slice with the effects of mask, noise-free.
static void MakeSlice(int mask) {
    static int ready;
    if (!ready) {
        BuildHeadPhantom();
        ProjectPhantom(1000.0);
        PhantomAttenuation(S, 1.3);
        memcpy(Plain, SampleVolume[S], sizeof Plain);
        ready = 1;
    }
    memcpy(SampleVolume[S], Plain, sizeof Plain);
    if (mask & EffectAttenuation)
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++) SampleVolume[S][a][r] *= AttenuationFactor[S][a][r];
    StartContamination();
    ContaminateSlice(S);
}

TEST(Contamination, EachSharesIsItsFractionAndTheCorrectionGivesBackThePlainCounts) {
    const struct { double scatter, randoms; } sizes[] = {{0.3, 0.2}, {0.5, 0.1}, {0.05, 0.4}};
    float peak = 0.0f;
    double largest = 0.0;
    for (int mask = 0; mask < 1 << EffectKinds; mask++) {
        for (const auto &size : sizes) {
            SetEffects(mask, size.scatter, size.randoms);
            MakeSlice(mask);
            double all = TrueTotal + ScatterTotal + RandomsTotal;
            EXPECT_NEAR(ScatterTotal / (TrueTotal + ScatterTotal), ScatterFraction, 1e-6) << EffectListText(mask);
            EXPECT_NEAR(RandomsTotal / all, RandomsFraction, 1e-6) << EffectListText(mask);
            CorrectSlice(S, mask, 1.0);
            double worst = 0.0;
            for (int a = 0; a < Angles; a++)
                for (int r = 0; r < Bins; r++) {
                    worst = fmax(worst, fabs(SampleVolume[S][a][r] - Plain[a][r]));
                    peak = fmax(peak, Plain[a][r]);
                }
            // Float rounding of the contaminated count, grown by the division.
            EXPECT_LT(worst, 1e-5 * peak) << EffectListText(mask);
            largest = fmax(largest, worst / peak);
        }
    }
    printf("corrected noise-free counts within %.2g of the peak of the plain ones\n", largest);
}

TEST(Contamination, ScatterReachesLinesThatMissTheBodyAndUnderCorrectionLeavesIt) {
    SetEffects(EffectScatter);
    MakeSlice(EffectScatter);
    int missing = 0, reached = 0;
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++)
            if (Plain[a][r] == 0.0f) {
                missing++;
                reached += ScatterCounts[S][a][r] > 0.01f;
            }
    EXPECT_GT(missing, 1000);
    EXPECT_GT(reached, missing / 2);
    // Half the scatter subtracted leaves half of it on the lines outside.
    CorrectSlice(S, EffectScatter, 0.5);
    for (int a = 0; a < Angles; a += 9)
        for (int r = 0; r < Bins; r += 5)
            if (Plain[a][r] == 0.0f) {
                EXPECT_NEAR(SampleVolume[S][a][r], 0.5 * ScatterCounts[S][a][r], 1e-3);
            }
}

TEST(Contamination, CrystalsShowAlongTheSinogramsDiagonals) {
    DrawEfficiencies(0.1, 3);
    double sum = 0.0, squares = 0.0;
    for (int c = 0; c < Crystals; c++) {
        sum += CrystalEfficiency[S][c];
        squares += CrystalEfficiency[S][c] * CrystalEfficiency[S][c];
        EXPECT_LE(fabs(CrystalEfficiency[S][c] - 1.0), SpreadCut * 0.1);
    }
    double mean = sum / Crystals, spread = sqrt(squares / Crystals - mean * mean);
    EXPECT_NEAR(mean, 1.0, 0.02);
    EXPECT_NEAR(spread, 0.1, 0.02);
    // Lines that share a crystal: along a + r and along a - r, it is the same one.
    for (int a = 1; a < Angles; a++)
        for (int r = 0; r + 1 < Bins; r += 17) {
            double crystal = CrystalEfficiency[S][(a + r) % Crystals];
            EXPECT_NEAR(LineEfficiency(S, a, r) / crystal, CrystalEfficiency[S][(a - r + Crystals / 2 + Crystals) % Crystals], 1e-12);
            EXPECT_NEAR(LineEfficiency(S, a - 1, r + 1) / crystal,
                        CrystalEfficiency[S][(a - 1 - r - 1 + Crystals / 2 + Crystals) % Crystals], 1e-12);
        }
}

// MLEM of slice S for the given counts, factors and additive terms, after iterations.
static void RunMlem(int iterations, double *likelihoodRises) {
    StartMlem(1);
    *likelihoodRises = 1;
    double last = MlemLogLikelihood;
    for (int k = 0; k < iterations; k++) {
        MlemIteration();
        if (MlemLogLikelihood < last - 1e-12 * fabs(last)) *likelihoodRises = 0;
        last = MlemLogLikelihood;
    }
}

// The RMS difference of MlemImage from image, over the RMS of image.
static double RmsDifference(const double image[ImageSide][ImageSide]) {
    double difference = 0.0, size = 0.0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            difference += (MlemImage[p][q] - image[p][q]) * (MlemImage[p][q] - image[p][q]);
            size += image[p][q] * image[p][q];
        }
    return sqrt(difference / size);
}

// MLEM's counts are slice S as measured, and its model holds the effects of mask.
static void ModelTheSlice(int mask) {
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            MlemCounts[a][r] = SampleVolume[S][a][r];
            MlemFactor[a][r] = (float)((mask & EffectAttenuation ? AttenuationFactor[S][a][r] : 1.0) *
                                       (EffectsNormalised ? LineEfficiency(S, a, r) : 1.0));
            MlemAdditive[a][r] = ScatterCounts[S][a][r] + (float)RandomsPerLine[S];
        }
}

// Each effect slows MLEM down (a floor to climb over, a factor below 1), but it heads
// for the image the plain counts give: the difference shrinks pass by pass.
TEST(Contamination, MlemWithTheEffectsInItsModelRebuildsThePlainImage) {
    const int passes[] = {10, 30};
    static double plainImage[ImageSide][ImageSide];   // after the last number of passes
    memset(MlemAdditive, 0, sizeof MlemAdditive);
    MakeSlice(0);
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) MlemCounts[a][r] = Plain[a][r], MlemFactor[a][r] = 1.0f;
    double rises;
    RunMlem(passes[1], &rises);
    memcpy(plainImage, MlemImage, sizeof plainImage);
    const int masks[] = {EffectScatter | EffectRandoms, EffectNormalisation,
                         EffectAttenuation | EffectScatter | EffectRandoms | EffectNormalisation};
    for (int mask : masks) {
        SetEffects(mask);
        MakeSlice(mask);
        ModelTheSlice(mask);
        double difference[2], more;
        RunMlem(passes[0], &rises);
        difference[0] = RmsDifference(plainImage);
        RunMlem(passes[1], &more);
        difference[1] = RmsDifference(plainImage);
        double lowest = 0.0;
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) lowest = fmin(lowest, MlemImage[p][q]);
        printf("%s in the data and the model: RMS difference from the plain image %.4f after %d passes, %.4f "
               "after %d\n", EffectListText(mask), difference[0], passes[0], difference[1], passes[1]);
        EXPECT_TRUE(rises && more) << EffectListText(mask);
        EXPECT_LT(difference[1], 0.6 * difference[0]) << EffectListText(mask);
        EXPECT_LT(difference[1], 0.15) << EffectListText(mask);
        EXPECT_EQ(lowest, 0.0) << EffectListText(mask);
    }
    memset(MlemAdditive, 0, sizeof MlemAdditive);
}

// Every effect at once in the data and in MLEM's model, two of its passes and the
// correction of the data: the same bits from every build (natively, 32-bit and under
// Wine). The slow emulated 32-bit build leaves out the checks against tolerances above,
// which start from these.
TEST(Contamination, EveryBuildComputesTheSameBits) {
    const int every = EffectAttenuation | EffectScatter | EffectRandoms | EffectNormalisation;
    SetEffects(every);
    MakeSlice(every);
    EXPECT_EQ(Fnv1a(FnvStart, SampleVolume[S], sizeof SampleVolume[S]), 14256420740950640812ULL) << "the measured slice";
    ModelTheSlice(every);
    double rises;
    RunMlem(2, &rises);
    EXPECT_EQ(Fnv1a(FnvStart, MlemImage, sizeof MlemImage), 4495714134491389423ULL) << "two passes of MLEM";
    CorrectSlice(S, every, 1.0);
    EXPECT_EQ(Fnv1a(FnvStart, SampleVolume[S], sizeof SampleVolume[S]), 12112849278789090701ULL) << "the corrected slice";
    memset(MlemAdditive, 0, sizeof MlemAdditive);
}

}  // namespace contamination_test
