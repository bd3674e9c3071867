#include "recon/reconstruction.h"

#include "recon/backprojection.h"
#include "recon/gap_filling.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"

void ReconstructSlice(char method) {
    // Each layer is built and repaired while it is still in the cache. No layer reads
    // another, so this is the same as backprojecting every angle and then repairing
    // every layer.
    for (int a = 0; a < Angles; a++) {
        BackprojectAngle(a, method);
        FillGaps(a);
        ClipNegatives(a);
    }
    FindGalleryMax();
    SumAngles();
    FindReconMax();
    SubtractBackground();
    FindDisplayMax();
}
