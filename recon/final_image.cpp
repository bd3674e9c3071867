// The reconstructed slice at twice its size, P to the right and Q upward.
#include "recon/final_image.h"

#include "graphics/draw.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"

const int FinalTop = 140;    // y of the row that shows Q = 255
const int FinalScale = 2;    // screen pixels per sample, each way

void ShowReconstruction() {
    for (int i = 0; i < ImageSide; i++) {
        int q = ImageSide - 1 - i;
        int y = FinalTop + FinalScale * i;
        for (int p = 0; p < ImageSide; p++) {
            int x = FinalScale * p;
            float value = ReconImage[p][q];
            PlotGray(x, y, value, DisplayMax);
            PlotGray(x, y + 1, value, DisplayMax);
            PlotGray(x + 1, y, value, DisplayMax);
            PlotGray(x + 1, y + 1, value, DisplayMax);
        }
    }
}
