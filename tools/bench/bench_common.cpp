#include "tools/bench/bench_common.h"

#include <stdio.h>

#include <algorithm>
#include <chrono>

#include "teaching/filter_taps.h"
#include "teaching/phantoms.h"
#include "teaching/poisson_noise.h"
#include "teaching/sample_volume.h"
#include "recon/working_arrays.h"

const double HeadPeakCount = 1000.0;         // the samples' largest noise-free count
const unsigned long long HeadSeed = 0x5EED0001ULL;

void PrepareHeadSlice() {
    BuildHeadPhantom();
    ProjectPhantom(HeadPeakCount);
    AddPoissonNoise(&SampleVolume[0][0][0], (long)Slices * Angles * Bins, HeadSeed);
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++) SliceSinogram[r][a] = SampleVolume[HeadMiddleSlice][a][r];
    MakeFilterTaps(FilterRamp, FilterTaps);
}

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double MedianMs(void (*step)()) {
    double times[BenchRuns];
    for (int i = 0; i < BenchRuns; i++) {
        double start = NowMs();
        step();
        times[i] = NowMs() - start;
    }
    std::sort(times, times + BenchRuns);
    return times[BenchRuns / 2];
}

void Report(const char *name, double ms) {
    printf("%s %.2f\n", name, ms);
    fflush(stdout);
}
