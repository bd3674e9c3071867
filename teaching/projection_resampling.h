// Projections of another geometry resampled onto a grid of views over half a turn and
// evenly spaced positions. A line of angle phi and position s is x cos(phi) + y sin(phi) = s;
// when the data's y axis runs the other way (downward, where Quorvel's runs upward), the
// line of the data's phi is the grid's line of -phi, so a point at the data's (x, y)
// lands at the grid's (x, -y). Interpolation is linear in angle and in position.
#pragma once

const int SourceViewsMax = 1024;
const int SourcePositionsMax = 1024;

// One sinogram of the data, and its geometry.
extern float SourceProfiles[SourceViewsMax][SourcePositionsMax];  // [view][position]
extern int SourceViews;               // views over half a turn
extern int SourcePositions;           // positions along a view
extern double SourceFirstViewDegrees; // angle of view 0; view v is at this + v x 180 / views
extern double SourceCentre;           // position index on the axis (may be fractional)
extern double SourceBinMm;            // spacing of positions, when arc-corrected
extern double SourceRadiusMm;         // > 0: not arc-corrected, s = R sin(t x 180 / detectors)
extern int SourceDetectors;           // detectors per ring, when not arc-corrected
extern int SourceFlipsY;              // 1 when the data's y axis runs opposite to the grid's

// s in mm of the (fractional) position index.
double SourcePositionMm(double index);
// The data's field: the span in mm from the outer edge of the first position to that of the last.
double SourceFieldMm();
// The data interpolated at the grid's angle (degrees) and position (mm); 0 outside.
double SourceSampleAt(double gridDegrees, double mm);

// Fills out[view][position] for views view x 180 / views degrees and positions
// (position - centre) x binMm.
void ResampleOnto(int views, int positions, double centre, double binMm, float *out);
