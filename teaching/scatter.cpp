#include "teaching/scatter.h"

#include "teaching/portable_math.h"

static double Kernel[2 * ScatterReach + 1];   // [ScatterReach + d] weight of a shift of d bins, summing to 1
static int KernelReady;

static void PrepareKernel() {
    if (KernelReady) return;
    double sum = 0.0;
    for (int d = -ScatterReach; d <= ScatterReach; d++) {
        double x = d / ScatterBlurBins;
        Kernel[ScatterReach + d] = ExpOfNegative(0.5 * x * x);
        sum += Kernel[ScatterReach + d];
    }
    for (double &w : Kernel) w /= sum;
    KernelReady = 1;
}

void BlurAlongBins(const float trues[Angles][Bins], float out[Angles][Bins]) {
    PrepareKernel();
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            int low = r - ScatterReach > 0 ? r - ScatterReach : 0;
            int high = r + ScatterReach < Bins - 1 ? r + ScatterReach : Bins - 1;
            double sum = 0.0;
            for (int k = low; k <= high; k++) sum += trues[a][k] * Kernel[ScatterReach + r - k];
            out[a][r] = (float)sum;
        }
}
