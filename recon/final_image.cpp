// The reconstructed slice at twice its size, P to the right and Q upward.
#include "recon/final_image.h"

#include "app/window_side.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"

static_assert(FinalImageScale == 2, "each sample is plotted as a 2 x 2 block, in the order the pixels are made");

void ShowReconstruction() {
    for (int i = 0; i < ImageSide; i++) {
        int q = ImageSide - 1 - i;
        int y = FinalImageTop + FinalImageScale * i;
        for (int p = 0; p < ImageSide; p++) {
            int x = FinalImageLeft + FinalImageScale * p;
            float value = ReconImage[p][q];
            PlotGray(x, y, value, DisplayMax);
            PlotGray(x, y + 1, value, DisplayMax);
            PlotGray(x + 1, y, value, DisplayMax);
            PlotGray(x + 1, y + 1, value, DisplayMax);
        }
    }
}
