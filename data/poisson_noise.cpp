#include "data/poisson_noise.h"

#include "data/portable_math.h"

static uint64_t NoiseState;   // the generator's state; advanced by every draw

const double ChunkMean = 16.0;   // larger means are drawn as sums of chunks of this mean
static double ChunkZeroChance;   // e^-ChunkMean, set at the first draw

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
static int SmallPoisson(double zeroChance) {
    int k = 0;
    double product = NextUniform();
    while (product > zeroChance) {
        k++;
        product *= NextUniform();
    }
    return k;
}

int PoissonCount(double mean) {
    if (!(mean > 0.0)) return 0;
    if (mean > PoissonMeanLimit) mean = PoissonMeanLimit;
    if (ChunkZeroChance == 0.0) ChunkZeroChance = ExpOfNegative(ChunkMean);
    int count = 0;
    while (mean > ChunkMean) {
        count += SmallPoisson(ChunkZeroChance);
        mean -= ChunkMean;
    }
    return count + SmallPoisson(ExpOfNegative(mean));
}

void AddPoissonNoise(float *samples, long count, uint64_t seed) {
    SeedNoise(seed);
    for (long i = 0; i < count; i++) samples[i] = (float)PoissonCount(samples[i]);
}
