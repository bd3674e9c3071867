// Any file as the filter file: its taps are read, whatever they come to, and plotted.
#include <math.h>
#include <stddef.h>
#include <stdint.h>

#include "fuzz/fuzz_support.h"
#include "recon/filter_file.h"
#include "recon/filter_plot.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char *path = ScratchPath("filter");
    WriteScratch(path, data, size);
    ResetFakePicture();
    Require(ReadFilterTaps(path) == 1, "a file that opens is read");
    PlotFilter();
    for (int k = 0; k < FilterTapCount; k++) {
        int offset = FilterPlotOffset(FilterTaps[k]);
        Require(offset >= -100000 && offset <= 100000, "a tap's plot offset is bounded");
    }
    Require(PenWidth == 1 && DrawColor == ColorYellow, "the plot ends with its pen and colour");
    unlink(path);
    return 0;
}
