// The raw-data views: every slice's sinogram, the projection gallery, the row markers,
// and the chosen slice's sinogram.
#pragma once

const int LowestSliceRow = 0;    // row n of the projection images shows file slice 86 - n
const int HighestSliceRow = 86;

void ShowSinogramOverview();
void ShowProjectionGallery();
void DrawSliceMarkers(int n);
void ExtractSlice(int n);
void ShowSliceSinogram();
