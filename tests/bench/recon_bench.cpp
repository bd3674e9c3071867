// The reconstruction core, from the backprojection to the background subtraction, for
// both methods, timed on the head phantom's middle slice. Runs natively and under Wine.
#include "bench/bench_common.h"
#include "recon/backprojection.h"
#include "recon/gap_filling.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"

static char Method;  // the method answer of the run being timed

static void ReconstructionCore() {
    BackprojectAngles(Method);
    RepairLayers();
    SumAngles();
    FindReconMax();
    SubtractBackground();
}

static void Backprojection() { BackprojectAngles(Method); }

int main() {
    PrepareHeadSlice();
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
        RepairLayers();
        Report(m.parts[1], NowMs() - start);
        Report(m.parts[2], MedianMs(SumAngles));
    }
    return 0;
}
