// The reconstruction core, from the backprojection to the background subtraction, for
// both methods, timed on the head phantom's middle slice. Runs natively and under Wine.
#include <stdio.h>

#include "recon/backprojection.h"
#include "recon/gap_filling.h"
#include "recon/reconstruction.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"
#include "tools/bench/bench_common.h"

static char Method;  // the method answer of the run being timed

static void ReconstructionCore() { ReconstructSlice(Method); }

static void Backprojection() { BackprojectAngles(Method); }

// Usage: recon_bench [SLICE_FILE]: also writes the slice's projections there, angle by
// angle, as the reference reconstruction reads them.
int main(int argc, char **argv) {
    PrepareHeadSlice();
    if (argc > 1) {
        FILE *file = fopen(argv[1], "wb");
        for (int a = 0; file && a < Angles; a++)
            for (int r = 0; r < Bins; r++) fwrite(&SliceSinogram[r][a], sizeof(float), 1, file);
        if (file) fclose(file);
    }
    const struct { char method; const char *core, *parts[3]; } methods[] = {
        {'1', "core_simple", {"backprojection_simple", "repair_simple", "summation_simple"}},
        {'2', "core_filtered", {"backprojection_filtered", "repair_filtered", "summation_filtered"}},
    };
    for (auto &m : methods) {
        Method = m.method;
        Report(m.core, MedianMs(ReconstructionCore));
        Report(m.parts[0], MedianMs(Backprojection));
        BackprojectAngles(Method);
        // The repair works in place, so each timed run starts from a fresh backprojection.
        double start = NowMs();
        for (int a = 0; a < Angles; a++) {
            FillGaps(a);
            ClipNegatives(a);
        }
        Report(m.parts[1], NowMs() - start);
        Report(m.parts[2], MedianMs(SumAngles));
    }
    return 0;
}
