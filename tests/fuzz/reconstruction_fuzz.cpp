// Any samples and taps through both reconstructions and their pictures. The input gives
// the method, the slice row, the 128 taps as doubles and then floats that repeat over the
// slice's samples; the other slices stay 0. A whole backprojection per input, so each
// input is expensive.
#include <math.h>
#include <stddef.h>
#include <stdint.h>

#include "fuzz/fuzz_support.h"
#include "recon/angle_gallery.h"
#include "recon/backprojection.h"
#include "recon/final_image.h"
#include "recon/gap_filling.h"
#include "recon/projection_views.h"
#include "recon/reconstruction.h"
#include "recon/sinogram_file.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"

const size_t TapBytes = sizeof(double) * FilterTapCount;

static uint8_t Slice[SinogramSliceBytes];  // the chosen slice's bytes
static FILE *Volume;                       // the scratch volume, all 0 but one slice
static const char *VolumePath;

static void MakeVolume() {
    VolumePath = ScratchPath("reconstruction");
    Volume = fopen(VolumePath, "w+b");
    Require(Volume != nullptr, "the scratch volume can be made");
    Require(ftruncate(fileno(Volume), SinogramFileBytes) == 0, "the scratch volume takes its size");
    atexit([] { unlink(VolumePath); });
}

static void RequireNumberAtLeastZero(float value, const char *what) {
    Require(value >= 0.0f && !isnan(value), what);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    if (Volume == nullptr) MakeVolume();
    char method = data[0] & 1 ? '1' : '2';
    int row = data[1] % (HighestSliceRow + 1);
    data += 2;
    size -= 2;
    size_t taps = size < TapBytes ? size : TapBytes;
    memset(FilterTaps, 0, sizeof FilterTaps);
    memcpy(FilterTaps, data, taps);
    data += taps;
    size -= taps;
    for (long k = 0; k < SinogramSliceBytes; k++) Slice[k] = size > 0 ? data[k % size] : 0;

    // The slice that row names, the others as the last input left them (all 0 but one).
    static int lastSlice = -1;
    int slice = HighestSliceRow - row;
    if (lastSlice >= 0 && lastSlice != slice) {
        static uint8_t zeros[SinogramSliceBytes];
        fseek(Volume, SinogramHeaderBytes + lastSlice * SinogramSliceBytes, SEEK_SET);
        fwrite(zeros, 1, sizeof zeros, Volume);
    }
    fseek(Volume, SinogramHeaderBytes + slice * SinogramSliceBytes, SEEK_SET);
    fwrite(Slice, 1, sizeof Slice, Volume);
    fflush(Volume);
    lastSlice = slice;

    ResetFakePicture();
    ResetFakeConsole();
    Require(LoadSinogramVolume(VolumePath) == 1, "the scratch volume loads");
    FindMaxCount();
    ExtractSlice(row);
    ShowSliceSinogram();

    ReconstructSlice(method);
    RequireNumberAtLeastZero(GalleryMax, "the gallery's grey scale is a number, at least 0");
    ShowAngleGallery();
    RequireNumberAtLeastZero(ReconMax, "the summed peak is a number, at least 0");
    RequireNumberAtLeastZero(DisplayMax, "the final grey scale is a number, at least 0");
    Require(BackgroundLevel >= 0, "the background removed is at least 0");
    ShowReconstruction();
    return 0;
}
