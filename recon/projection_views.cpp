// The raw-data views on the picture, all grey-scaled against MaxCount, and the copy of
// the chosen slice's sinogram.
#include "recon/projection_views.h"

#include "app/window_side.h"
#include "recon/working_arrays.h"

// Overview: one sinogram per slice, bins 32..223 across, angles down.
const int OverviewPerRow = 8;      // cells per row
const int OverviewPitchX = 194;    // pixels from one cell to the next across
const int OverviewPitchY = 130;    // pixels from one row of cells to the next
const int OverviewWidth = 192;     // bins shown per cell
const int OverviewFirstBin = 32;

// Gallery: one projection image per second angle, bins across, file slices bottom-up.
const int GalleryImages = 64;
const int GalleryPerRow = 10;      // images per row
const int GalleryPitchX = 120;     // pixels from one image to the next across
const int GalleryPitchY = 100;     // pixels from one row of images to the next
const int GalleryWidth = 120;      // pixel columns, three bins per two columns
const int GalleryFirstBin = 48;
const int MarkerLength = 117;      // pixels from a marker line's start to its end

// The chosen slice's sinogram and its label.
const int SliceViewX = 125;
const int SliceViewY = 0;
const int SliceLabelX = 200;
const int SliceLabelY = 150;
const int SliceLabelHeight = 30;

void ShowSinogramOverview() {
    for (int s = 0; s < Slices; s++) {
        PumpMessage();
        int x0 = (s % OverviewPerRow) * OverviewPitchX;
        int y0 = (s / OverviewPerRow) * OverviewPitchY;
        for (int a = 0; a < Angles; a++)
            for (int j = 0; j < OverviewWidth; j++)
                PlotGray(x0 + j, y0 + a, SinogramVolume[s][a][OverviewFirstBin + j], MaxCount);
    }
}

void ShowProjectionGallery() {
    for (int g = 0; g < GalleryImages; g++) {
        PumpMessage();
        int x0 = (g % GalleryPerRow) * GalleryPitchX;
        int y0 = (g / GalleryPerRow) * GalleryPitchY;
        for (int i = 0; i < Slices; i++)
            for (int c = 0; c < GalleryWidth; c++)
                PlotGray(x0 + c, y0 + i,
                         SinogramVolume[LastSlice - i][2 * g][GalleryFirstBin + 3 * c / 2], MaxCount);
    }
}

void DrawSliceMarkers(int n) {
    for (int m = 0; m < GalleryImages; m++) {
        PumpMessage();
        int x0 = (m % GalleryPerRow) * GalleryPitchX;
        int y = (m / GalleryPerRow) * GalleryPitchY + n;
        DrawColor = ColorYellow;
        DrawLine(x0, y, x0 + MarkerLength, y);
    }
}

void ExtractSlice(int n) {
    if (n < LowestSliceRow || n > HighestSliceRow) return;  // names no slice of the file
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++) SliceSinogram[r][a] = SinogramVolume[LastSlice - n][a][r];
}

void ShowSliceSinogram() {
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) PlotGray(SliceViewX + r, SliceViewY + a, SliceSinogram[r][a], MaxCount);
    DrawColor = ColorWhite;
    DrawLabel(SliceLabelX, SliceLabelY, "Sinogram", SliceLabelHeight);
}
