#include "teaching/sample_volume.h"

#include <stdio.h>
#include <string.h>

#include "teaching/file_replacement.h"
#include "teaching/fnv_hash.h"
#include "teaching/phantoms.h"
#include "recon/geometry.h"
#include "recon/sinogram_file.h"

float SampleVolume[Slices][Angles][Bins];
double VolumeScale;
void (*SliceProjected)(int done, int total);

const int SliceBytes = Angles * Bins * 4;
static unsigned char SliceBuffer[SliceBytes];   // one slice in file byte order

void ProjectPhantom(double peakCount) {
    for (int s = 0; s < Slices; s++) {
        for (int a = 0; a < Angles; a++) {
            PrepareProjection((double)s, a * AngleStepDegrees);
            for (int r = 0; r < Bins; r++) {
                float value = (float)ProjectionAt(r - RotationCentre);
                if (value < 0.0f) value = 0.0f;   // carved chords can cancel to a hair below 0
                SampleVolume[s][a][r] = value;
            }
        }
        if (SliceProjected) SliceProjected(s + 1, Slices);
    }
    ScaleSampleVolume(peakCount);
}

float LargestSample() {
    float peak = 0.0f;
    for (int s = 0; s < Slices; s++)
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++)
                if (SampleVolume[s][a][r] > peak) peak = SampleVolume[s][a][r];
    return peak;
}

void ScaleSampleVolume(double peakCount) {
    float peak = LargestSample();
    VolumeScale = peak > 0.0f ? peakCount / peak : 0.0;
    for (int s = 0; s < Slices; s++)
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++)
                SampleVolume[s][a][r] = (float)(SampleVolume[s][a][r] * VolumeScale);
}

void MakeSinogramHeader(char header[24]) {
    memset(header, 0, 24);
    snprintf(header, 24, "QUORVEL SINO %dx%dx%d", Bins, Angles, Slices);
}

// Slice s in file byte order: each float's bits, least significant byte first.
static void EncodeSlice(int s) {
    int k = 0;
    for (int a = 0; a < Angles; a++) {
        for (int r = 0; r < Bins; r++) {
            uint32_t bits;
            memcpy(&bits, &SampleVolume[s][a][r], 4);
            SliceBuffer[k++] = (unsigned char)(bits & 0xFF);
            SliceBuffer[k++] = (unsigned char)((bits >> 8) & 0xFF);
            SliceBuffer[k++] = (unsigned char)((bits >> 16) & 0xFF);
            SliceBuffer[k++] = (unsigned char)(bits >> 24);
        }
    }
}

int WriteSampleVolumeTo(FILE *file) {
    static_assert(SinogramHeaderBytes == 24, "header size");
    static_assert(SinogramSliceBytes == SliceBytes, "slice size");
    char header[24];
    MakeSinogramHeader(header);
    int ok = fwrite(header, 1, 24, file) == 24;
    for (int s = 0; s < Slices && ok; s++) {
        EncodeSlice(s);
        ok = fwrite(SliceBuffer, 1, SliceBytes, file) == (size_t)SliceBytes;
    }
    return ok;
}

int WriteSampleVolume(const char *path) { return WriteFileWith(path, WriteSampleVolumeTo); }

uint64_t SampleVolumeHash() {
    char header[24];
    MakeSinogramHeader(header);
    uint64_t hash = Fnv1a(FnvStart, header, 24);
    for (int s = 0; s < Slices; s++) {
        EncodeSlice(s);
        hash = Fnv1a(hash, SliceBuffer, SliceBytes);
    }
    return hash;
}
