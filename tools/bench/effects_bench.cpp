// A whole noisy head volume with every effect, as quorvel_data sinogram --attenuation
// --scatter --randoms --normalisation --corrected makes it: the projection, the factors,
// the effects, the noise and the corrections; and the effects and corrections alone.
// Runs natively.
#include "teaching/attenuation.h"
#include "teaching/contamination.h"
#include "teaching/normalisation.h"
#include "teaching/phantoms.h"
#include "teaching/poisson_noise.h"
#include "teaching/sample_volume.h"
#include "tools/bench/bench_common.h"

const int EveryEffect = EffectAttenuation | EffectScatter | EffectRandoms | EffectNormalisation;

static void Effects() {
    DrawEfficiencies(0.05, 1);
    ContaminateVolume();
    AddPoissonNoise(&SampleVolume[0][0][0], (long)Slices * Angles * Bins, 1);
    for (int s = 0; s < Slices; s++) CorrectSlice(s, EveryEffect, 1.0);
}

static void WholeVolume() {
    BuildHeadPhantom();
    ProjectPhantom(1000.0);
    for (int s = 0; s < Slices; s++) PhantomAttenuation(s, PixelMmDefault);
    ApplyAttenuation();
    Effects();
}

int main() {
    ScatterFraction = 0.3;
    RandomsFraction = 0.2;
    EffectsNormalised = 1;
    Report("effects_volume", MedianMs(WholeVolume));
    Report("effects_only", MedianMs(Effects));
    return 0;
}
