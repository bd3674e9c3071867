// Poisson counts: the right mean, spread and zero frequency on both sides of the switch
// from the product of uniforms to transformed rejection and up to the largest dose, the
// same counts for a seed, sound answers to unusable means, and a noisy volume that
// scatters around the noise-free one.
#include <math.h>

#include <gtest/gtest.h>

#include "teaching/phantoms.h"
#include "teaching/poisson_noise.h"
#include "teaching/sample_volume.h"

namespace poisson_noise_test {

TEST(PoissonNoise, CountsHaveThePoissonMeanSpreadAndZeroFrequency) {
    const double means[] = {0.05, 0.7, 3.0, 9.99, 10.0, 10.01, 37.5, 250.0, 1000.0, 1.0e5, PoissonMeanLimit};
    const int Draws = 20000;
    SeedNoise(12345);
    for (double mean : means) {
        double sum = 0.0, squares = 0.0;
        int zeros = 0;
        for (int i = 0; i < Draws; i++) {
            int k = PoissonCount(mean);
            ASSERT_GE(k, 0);
            sum += k;
            squares += (double)k * k;
            zeros += k == 0;
        }
        double m = sum / Draws;
        double variance = squares / Draws - m * m;
        EXPECT_NEAR(m, mean, 5.0 * sqrt(mean / Draws)) << mean;
        EXPECT_NEAR(variance / mean, 1.0, 5.0 * sqrt((1.0 / mean + 2.0) / Draws)) << mean;
        double p0 = exp(-mean);
        EXPECT_NEAR((double)zeros / Draws, p0, 5.0 * sqrt(p0 * (1.0 - p0) / Draws) + 1e-12)
            << mean;
    }
}

// Every uniform drawn is made of integer steps and exact operations, so a seed gives the
// same counts on every build; these are the first counts of seed 2024 at three means.
TEST(PoissonNoise, ASeedGivesTheSameCountsEverywhere) {
    struct { double mean; int counts[4]; } cases[] = {
        {4.0, {2, 3, 4, 6}}, {1000.0, {1011, 981, 1034, 960}}, {1.0e7, {10001112, 9998120, 10003420, 9996038}},
    };
    for (auto &c : cases) {
        SeedNoise(2024);
        for (int expected : c.counts) EXPECT_EQ(PoissonCount(c.mean), expected) << c.mean;
    }
}

TEST(PoissonNoise, UnusableMeansGiveZeroOrTheLimit) {
    const double none[] = {0.0, -0.0, -3.0, NAN, -INFINITY};
    for (double mean : none) EXPECT_EQ(PoissonCount(mean), 0) << mean;
    SeedNoise(7);
    int k = PoissonCount(INFINITY);
    EXPECT_NEAR(k, PoissonMeanLimit, 6.0 * sqrt(PoissonMeanLimit));
}

TEST(PoissonNoise, NoisyVolumeScattersAroundTheNoiseFreeOne) {
    BuildHeadPhantom();
    ProjectPhantom(1000.0);
    static float clean[Angles][Bins];   // the middle slice, noise-free
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) clean[a][r] = SampleVolume[HeadMiddleSlice][a][r];

    static float noisy[Angles][Bins];
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) noisy[a][r] = clean[a][r];
    AddPoissonNoise(&noisy[0][0], (long)Angles * Bins, 99);

    double cleanSum = 0.0, noisySum = 0.0, chiSquare = 0.0;
    int used = 0;
    for (int a = 0; a < Angles; a++) {
        for (int r = 0; r < Bins; r++) {
            float n = noisy[a][r];
            ASSERT_EQ(n, floorf(n));
            ASSERT_GE(n, 0.0f);
            if (clean[a][r] == 0.0f) {
                ASSERT_EQ(n, 0.0f);
            }
            cleanSum += clean[a][r];
            noisySum += n;
            if (clean[a][r] > 20.0f) {
                chiSquare += (n - clean[a][r]) * (n - clean[a][r]) / clean[a][r];
                used++;
            }
        }
    }
    ASSERT_GT(used, 10000);
    EXPECT_NEAR(noisySum, cleanSum, 5.0 * sqrt(cleanSum));
    EXPECT_NEAR(chiSquare / used, 1.0, 5.0 * sqrt(2.0 / used));
}

}  // namespace poisson_noise_test
