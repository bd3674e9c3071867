#include "teaching/poisson_noise.h"

#include <math.h>

#include "teaching/portable_math.h"
#include "recon/geometry.h"

static thread_local uint64_t NoiseState;   // each thread's generator's state; advanced by every draw

// Means from here on are drawn by transformed rejection, in a few uniforms whatever the
// mean; below it by the product of uniforms, which takes about mean + 1 of them.
const double RejectionFrom = 10.0;
const double CountLimit = 2147483647.0;   // counts are ints; larger ones are never accepted

void SeedNoise(uint64_t seed) {
    NoiseState = seed;
}

// splitmix64.
uint64_t NextRandom() {
    uint64_t z = (NoiseState += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double NextUniform() {
    return (double)((NextRandom() >> 11) + 1) * (1.0 / 9007199254740992.0);
}

// Counts uniforms until their running product falls to e^-mean or below.
static int ProductOfUniforms(double mean) {
    double zeroChance = ExpOfNegative(mean);
    int k = 0;
    double product = NextUniform();
    while (product > zeroChance) {
        k++;
        product *= NextUniform();
    }
    return k;
}

// ln k!, by Stirling's series from k = 7 on (error below 1e-16 relative), and for the
// smaller k from 7! downward.
static double LogFactorial(double k) {
    static const double Series[6] = {1.0 / 12.0, -1.0 / 360.0, 1.0 / 1260.0, -1.0 / 1680.0, 1.0 / 1188.0,
                                     -691.0 / 360360.0};
    double x = k + 1.0, shift = 0.0;   // ln Gamma(x)
    while (x < 8.0) {
        shift += NaturalLog(x);
        x += 1.0;
    }
    double x2 = 1.0 / (x * x), t = Series[5];
    for (int n = 4; n >= 0; n--) t = t * x2 + Series[n];
    return t / x + 0.5 * NaturalLog(2.0 * Pi) + (x - 0.5) * NaturalLog(x) - x - shift;
}

// Hormann's transformed rejection with squeeze (PTRS), for means of 10 and more.
static int TransformedRejection(double mean) {
    double root = sqrt(mean);   // IEEE square roots are correctly rounded everywhere
    double b = 0.931 + 2.53 * root;
    double a = -0.059 + 0.02483 * b;
    double inverseAlpha = 1.1239 + 1.1328 / (b - 3.4);
    double squeeze = 0.9277 - 3.6224 / (b - 2.0);
    double logMean = NaturalLog(mean);
    for (;;) {
        double u = NextUniform() - 0.5;
        double v = NextUniform();
        double us = 0.5 - fabs(u);
        double k = floor((2.0 * a / us + b) * u + mean + 0.43);
        if (us >= 0.07 && v <= squeeze) return (int)k;   // 0 <= k here
        if (k < 0.0 || k > CountLimit || (us < 0.013 && v > us)) continue;
        if (NaturalLog(v) + NaturalLog(inverseAlpha) - NaturalLog(a / (us * us) + b) <=
            -mean + k * logMean - LogFactorial(k))
            return (int)k;
    }
}

int PoissonCount(double mean) {
    if (!(mean > 0.0)) return 0;
    if (mean > PoissonMeanLimit) mean = PoissonMeanLimit;
    if (mean < RejectionFrom) return ProductOfUniforms(mean);
    return TransformedRejection(mean);
}

void AddPoissonNoise(float *samples, long count, uint64_t seed) {
    SeedNoise(seed);
    for (long i = 0; i < count; i++) samples[i] = (float)PoissonCount(samples[i]);
}
