#include "recon/dialogue_picture.h"

#include "app/window_side.h"
#include "recon/angle_gallery.h"
#include "recon/filter_plot.h"
#include "recon/final_image.h"
#include "recon/projection_views.h"
#include "recon/reconstruction.h"
#include "recon/sinogram_file.h"

void DrawDialoguePicture(int n, char method) {
    FindMaxCount();
    GraphicsOpen();
    ShowSinogramOverview();
    ClearSurface();
    ShowProjectionGallery();
    DrawSliceMarkers(n);
    ExtractSlice(n);
    ShowSliceSinogram();
    PlotFilter();
    ReconstructSlice(method);
    ShowAngleGallery();
    ShowReconstruction();
    GraphicsFlush();
}
