// Shared pieces of the benchmarks: the head phantom's middle slice as input, a clock,
// and medians of repeated runs. Figures are printed as "name milliseconds" lines that
// ./bench gathers into its table.
#pragma once

const int BenchRuns = 9;   // runs per figure; the median is reported

// The head phantom's volume with Poisson noise at the samples' count level, in
// SampleVolume, which WriteSampleVolume writes; its middle slice in SliceSinogram and
// the ramp in FilterTaps.
void PrepareHeadSlice();

double NowMs();
// Median of BenchRuns timings of step, in milliseconds.
double MedianMs(void (*step)());
void Report(const char *name, double ms);
