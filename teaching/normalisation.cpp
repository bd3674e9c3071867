#include "teaching/normalisation.h"

#include <math.h>

#include "teaching/poisson_noise.h"
#include "teaching/portable_math.h"

double CrystalEfficiency[Slices][Crystals];

// Keeps the efficiencies' draws apart from the noise's when both use one seed.
const uint64_t EfficiencyStream = 0x9E3779B97F4A7C15ULL;

// A standard normal draw (Box-Muller, one of the pair).
static double NormalDraw() {
    double u = NextUniform(), v = NextUniform();
    return sqrt(-2.0 * NaturalLog(u)) * CosDegrees(360.0 * v);
}

void DrawEfficiencies(double spread, uint64_t seed) {
    SeedNoise(seed ^ EfficiencyStream);
    for (int s = 0; s < Slices; s++)
        for (int c = 0; c < Crystals; c++) {
            double z;
            do z = NormalDraw();
            while (fabs(z) > SpreadCut);
            CrystalEfficiency[s][c] = 1.0 + spread * z;
        }
}

void EqualEfficiencies() {
    for (int s = 0; s < Slices; s++)
        for (int c = 0; c < Crystals; c++) CrystalEfficiency[s][c] = 1.0;
}

double LineEfficiency(int s, int a, int r) {
    int first = (a + r) % Crystals, second = (a - r + Crystals / 2 + Crystals) % Crystals;
    return CrystalEfficiency[s][first] * CrystalEfficiency[s][second];
}
