// Twenty MLEM iterations of the noisy head phantom's middle slice, as quorvel_data mlem
// runs them, and the chord table it builds once before them. Runs natively.
#include "teaching/mlem.h"
#include "teaching/phantoms.h"
#include "teaching/sample_volume.h"
#include "tools/bench/bench_common.h"

const int Iterations = 20;

static void Mlem() {
    StartMlem(1);
    for (int k = 0; k < Iterations; k++) MlemIteration();
}

int main() {
    PrepareHeadSlice();
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            MlemCounts[a][r] = SampleVolume[HeadMiddleSlice][a][r];
            MlemFactor[a][r] = 1.0f;
        }
    double start = NowMs();
    PrepareChords();
    Report("mlem_chords", NowMs() - start);
    Report("mlem_20", MedianMs(Mlem));
    return 0;
}
