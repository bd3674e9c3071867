// quorvel_data filter: a real-space filter file at any cutoff.
#include <stdio.h>

#include "teaching/commands/command_line.h"
#include "teaching/commands/data_tool.h"
#include "teaching/file_replacement.h"
#include "teaching/filter_taps.h"
#include "teaching/tool_error.h"
#include "recon/geometry.h"

const char *const FilterHelp =
    "quorvel_data filter OUTPUT.txt KIND [options]\n"
    "\n"
    "Writes a real-space filter file that Quorvel loads at \"Load Real space Filter\": 128\n"
    "taps, one a line; tap n weights the bins n away on both sides. Each tap is the\n"
    "transform of the filter's frequency response for bins one unit apart, frequencies up\n"
    "to 1/2 cycle per bin (Nyquist). As in the sample files, the ramp family is scaled so\n"
    "that tap 0 is 10 (the plot's scale); the delta is 1 at tap 0.\n"
    "\n"
    "KIND is one of:\n"
    "@FILTER_LINES@"
    "fc is the cutoff in cycles per bin. Above fc the ramp and the windows stop (all but\n"
    "Butterworth's, which falls to half its height at fc, a quarter of the power, and goes\n"
    "on falling).\n"
    "\n"
    "Options:\n"
    "  --cutoff C     fc as a fraction of Nyquist, 0.05 to 1. Default 1 (fc = 1/2).\n"
    "  --taps N       keep taps 0 to N - 1 and write the rest as 0 (1 to 128). Default 128.\n"
    "  --order N      Butterworth's order, 1 to 20. Default 4. Its taps are integrated\n"
    "                 numerically, with a relative error below 1e-8.\n";

const double CutoffMin = 0.05;   // fraction of Nyquist; lower leaves too few bins to filter
const int OrderDefault = 4;
const int OrderMax = 20;

static double FileTaps[FilterTapCount];   // the taps being written

int RunFilterCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "") || !OnlyOptions("filter", "cutoff taps order", "")) return ExitUsage;
    if (PositionalCount != 2)
        return RefuseWith(ExitUsage, "filter takes two words besides its options, the output file and the kind (see "
                                     "quorvel_data filter --help)");
    int kind = FindFilterKind(Positional[1]);
    if (kind < 0) return RefuseWith(ExitUsage, "unknown filter \"%s\": %s", Positional[1], FilterNameList());
    const FilterKind &row = FilterKindTable[kind];
    double cutoff = 1.0;
    long taps = FilterTapCount, order = OrderDefault;
    if (!NumberOption("cutoff", CutoffMin, 1.0, &cutoff) || !WholeOption("taps", 1, FilterTapCount, &taps) ||
        !WholeOption("order", 1, OrderMax, &order))
        return ExitUsage;
    if (!row.cutTap && HasOption("cutoff"))
        return RefuseWith(ExitUsage, "the %s filter passes every frequency; it takes no --cutoff", row.name);
    if (!row.takesOrder && HasOption("order"))
        return RefuseWith(ExitUsage, "--order belongs to the butterworth filter only");
    MakeCutFilterTaps(kind, cutoff, (int)order, (int)taps, FileTaps);
    FILE *file = BeginReplacing(Positional[0]);
    if (!file) return ExitFailed;
    int written = WriteFilterTapsTo(file, FileTaps);
    if (!FinishReplacing(Positional[0], file, written))
        return written ? ExitFailed : RefuseWith(ExitFailed, "cannot write %s (is there room?)", Positional[0]);
    printf("wrote %s: %s", Printable(Positional[0]), row.title);
    if (row.cutTap) printf(", cutoff %g of Nyquist", cutoff);
    if (row.takesOrder) printf(", order %ld", order);
    printf(", taps 0 to %ld; tap 0 = %.9g, tap 1 = %.9g, tap 2 = %.9g\n", taps - 1, FileTaps[0], FileTaps[1],
           FileTaps[2]);
    return ExitDone;
}
