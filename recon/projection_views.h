// The raw-data views: every slice's sinogram, the projection gallery, the row markers,
// and the chosen slice's sinogram.
#pragma once

#include "recon/geometry.h"

const int LowestSliceRow = 0;   // row n of the projection images shows file slice LastSlice - n
const int HighestSliceRow = LastSlice;

void ShowSinogramOverview();
void ShowProjectionGallery();
void DrawSliceMarkers(int n);
void ExtractSlice(int n);
void ShowSliceSinogram();
