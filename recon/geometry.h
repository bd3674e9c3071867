// The fixed geometry of the data and the pictures: one place for each fact, read by the
// program, the teaching-data tool, the tests and the benchmarks.
#pragma once

// A sinogram volume and the slice rebuilt from it.
const int Bins = 256;        // radial bins r of a projection
const int Angles = 128;      // projection angles a over a half turn
const int Slices = 87;       // slices s of a volume file
const int ImageSide = 256;   // P and Q of a reconstructed image
const int FilterTapCount = 128;
const int LastSlice = Slices - 1;   // row n of the projection images shows file slice LastSlice - n

const double Pi = 3.14159265358979323846;
const double AngleStepDegrees = 1.40625;   // 180 / Angles: angle a stands for a x this
const double RadiansPerDegree = 0.017453292519943295;
// Both image coordinates turn about it, and bin r lies r - RotationCentre pixels from the
// axis: the outermost bins' lines are this far out, the edge of the scanner's round field.
const double RotationCentre = 127.5;

// The picture window's fixed picture, and the final image on it: sample (P, Q) fills the
// FinalImageScale x FinalImageScale block at x = left + scale P, y = top + scale (255 - Q).
const int PictureWidth = 1200;
const int PictureHeight = 800;
const int FinalImageLeft = 0;
const int FinalImageTop = 140;
const int FinalImageScale = 2;
const int FinalImageRight = FinalImageLeft + FinalImageScale * ImageSide - 1;   // last column, x
const int FinalImageBottom = FinalImageTop + FinalImageScale * ImageSide - 1;   // last row, y

// Share of the summed slice's peak removed everywhere before it is shown.
const double BackgroundShare = 0.3;
