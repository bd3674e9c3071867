// quorvel_data filter: a real-space filter file at any cutoff.
#include <stdio.h>
#include <string.h>

#include "recon/working_arrays.h"
#include "tools/data_arguments.h"
#include "tools/data_tool.h"
#include "tools/file_replacement.h"
#include "tools/filter_taps.h"
#include "tools/tool_error.h"

const double CutoffMin = 0.05;   // fraction of Nyquist; lower leaves too few bins to filter
const int OrderDefault = 4;
const int OrderMax = 20;

static double FileTaps[FilterTapCount];   // the taps being written

static int WriteTaps(const char *path) { return WriteFilterFile(path, FileTaps); }

int RunFilterCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "") || !OnlyOptions("filter", "cutoff taps order")) return ExitUsage;
    if (PositionalCount != 2)
        return RefuseWith(ExitUsage, "filter takes two words besides its options, the output file and the kind (see "
                                     "quorvel_data filter --help)");
    int kind = -1;
    for (int k = 0; k < FilterKindsAll; k++)
        if (strcmp(Positional[1], FilterNames[k]) == 0) kind = k;
    if (kind < 0)
        return RefuseWith(ExitUsage, "unknown filter \"%s\": ramp, shepp-logan, cosine, hamming, hann, butterworth or delta",
                          Positional[1]);
    double cutoff = 1.0;
    long taps = FilterTapCount, order = OrderDefault;
    if (!NumberOption("cutoff", CutoffMin, 1.0, &cutoff) || !WholeOption("taps", 1, FilterTapCount, &taps) ||
        !WholeOption("order", 1, OrderMax, &order))
        return ExitUsage;
    if (kind == FilterDelta && HasOption("cutoff"))
        return RefuseWith(ExitUsage, "the delta filter passes every frequency; it takes no --cutoff");
    if (kind != FilterButterworth && HasOption("order"))
        return RefuseWith(ExitUsage, "--order belongs to the butterworth filter only");
    MakeCutFilterTaps(kind, cutoff, (int)order, (int)taps, FileTaps);
    if (!WriteReplacing(Positional[0], WriteTaps)) return ExitFailed;
    printf("wrote %s: %s", Positional[0], FilterTitles[kind]);
    if (kind != FilterDelta) printf(", cutoff %g of Nyquist", cutoff);
    if (kind == FilterButterworth) printf(", order %ld", order);
    printf(", taps 0 to %ld; tap 0 = %.9g, tap 1 = %.9g, tap 2 = %.9g\n", taps - 1, FileTaps[0], FileTaps[1],
           FileTaps[2]);
    return ExitDone;
}
