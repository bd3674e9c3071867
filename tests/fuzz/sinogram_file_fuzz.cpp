// Any file as the sinogram volume. An even first byte makes the rest of the input the
// whole file, so nearly every file is short; an odd one makes a file of about the full
// size (a byte short, exact, or longer) whose samples repeat the rest of the input. A
// loaded volume is then shown in every raw-data view.
#include <math.h>
#include <stddef.h>
#include <stdint.h>

#include "fuzz/fuzz_support.h"
#include "recon/projection_views.h"
#include "recon/sinogram_file.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"

static uint8_t Slice[SinogramSliceBytes];  // one slice's bytes, the input repeated

// A file of the volume's size plus extra bytes (-1: one byte short) from the input.
static void WriteWholeFile(const char *path, const uint8_t *data, size_t size, long extra) {
    uint8_t header[SinogramHeaderBytes] = {};
    for (long k = 0; k < SinogramSliceBytes; k++) Slice[k] = size > 0 ? data[k % size] : 0;
    FILE *file = fopen(path, "wb");
    Require(file != nullptr, "the scratch volume can be written");
    fwrite(header, 1, sizeof header, file);
    for (int s = 0; s < Slices; s++) fwrite(Slice, 1, sizeof Slice, file);
    fclose(file);
    Require(truncate(path, SinogramFileBytes + extra) == 0, "the scratch volume takes its size");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    const char *path = ScratchPath("sinogram");
    int whole = data[0] & 1;
    long extra = (long)(data[1] % 3) - 1;  // one byte short, exact, one byte more
    if (whole) WriteWholeFile(path, data + 2, size - 2, extra);
    else WriteScratch(path, data + 1, size - 1);
    ResetFakePicture();
    ResetFakeConsole();
    int loaded = LoadSinogramVolume(path);
    unlink(path);
    Require(loaded == (whole && extra >= 0), "exactly the files that hold a whole volume load");
    Require(FakeMessageCount == !loaded, "a file that does not load is reported once");
    if (!loaded) return 0;
    FindMaxCount();
    Require(MaxCount >= 0.0f && !isnan(MaxCount), "the largest count is a number, at least 0");
    int row = data[1] % (HighestSliceRow + 1);
    ShowSinogramOverview();
    ShowProjectionGallery();
    DrawSliceMarkers(row);
    ExtractSlice(row);
    ShowSliceSinogram();
    RequireRingIntact();
    return 0;
}
