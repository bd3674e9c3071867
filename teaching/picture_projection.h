// Sinograms of the teacher's pictures. Each pixel is a square of uniform activity, one
// image pixel wide; the picture sits centred in the slice, its top row toward the top
// of the final image (Q upward) and its first column at the left (P).
#pragma once

#include "recon/geometry.h"

const double FieldRadius = RotationCentre;   // the outermost line of a projection, pixels from the axis

// Slice column (P) and row (255 - Q) of the picture's first column and top row.
int PictureLeft();
int PictureTop();

// Integral of the current picture's levels along x cos(theta) + y sin(theta) = t: the
// exact chord through every square the line crosses times its level, so the only error
// is rounding (relative 1e-12 or better).
double PictureLineIntegral(double thetaDegrees, double t);

// Fills slice s of SampleVolume with the projections of the picture, in levels of white
// (PictureWhite counts 1) per pixel of path.
void ProjectPictureIntoSlice(int s);

// Whether a pixel that is not black has its centre outside the round field, where
// lines reach it only at some angles.
int PictureLeavesField();
