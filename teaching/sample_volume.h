// The generated sinogram volume and its file: exact projections of the current phantom,
// scaled to counts, written as the reconstruction program reads them.
#pragma once
#include <stdint.h>
#include <stdio.h>

#include "recon/geometry.h"

// [s][a][r]: file order, slice by slice, angle by angle, bin by bin.
extern float SampleVolume[Slices][Angles][Bins];
extern double VolumeScale;   // counts per unit of activity x pixel of path
// Called, when set, after each slice that ProjectPhantom has projected: a command shows
// its progress through it.
extern void (*SliceProjected)(int done, int total);

// Bin r of angle a in slice s holds the integral over the line
// x cos(theta) + y sin(theta) = r - RotationCentre, theta = a x AngleStepDegrees, z = s;
// the volume is scaled so that its largest sample is peakCount.
void ProjectPhantom(double peakCount);

// The largest sample, at least 0.
float LargestSample();
// Scales the volume so that its largest sample is peakCount; sets VolumeScale.
void ScaleSampleVolume(double peakCount);

// The 24-byte header: a readable tag padded with zero bytes.
void MakeSinogramHeader(char header[24]);

// Writes header and samples as little-endian floats. Returns 1 when the whole file
// was written and closed.
int WriteSampleVolume(const char *path);
// The same into an open file, which the caller closes; 1 when every byte was written.
int WriteSampleVolumeTo(FILE *file);

// 64-bit FNV-1a of the bytes WriteSampleVolume writes, for checks of reproducibility.
uint64_t SampleVolumeHash();
