// Poisson counting noise from a seeded generator of our own, so a seed gives the same
// counts from every build and C library.
#pragma once
#include <stdint.h>

void SeedNoise(uint64_t seed);
uint64_t NextRandom();        // 64 random bits
double NextUniform();         // uniform on (0, 1]

// A Poisson-distributed count of the given mean; means that are not positive give 0,
// means above PoissonMeanLimit are taken as that limit.
const double PoissonMeanLimit = 1.0e7;
int PoissonCount(double mean);

// Replaces each of count samples by a Poisson count of that mean, in order.
void AddPoissonNoise(float *samples, long count, uint64_t seed);
