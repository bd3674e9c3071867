// Rebuilding the chosen slice: the one way every caller runs the numerical steps.
#pragma once

// Rebuilds SliceSinogram into ReconImage by method ('1' simple backprojection, anything
// else filtered with FilterTaps): the 128 angle layers backprojected, filled and clipped,
// GalleryMax found, the layers summed and the background subtracted, with ReconMax,
// BackgroundLevel and DisplayMax set. Draws and asks nothing.
void ReconstructSlice(char method);
