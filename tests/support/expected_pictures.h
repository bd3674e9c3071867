// Test files for the program driven from outside, and what its pictures must show:
// the platform-free core's results for the same files.
#pragma once

const long SavedBitmapBytes = 2880054;   // a saved picture

// A volume of discs whose positions drift with the slice: a large warm disc holding hot
// and cold ones, placed asymmetrically, so that slices, angles and both halves of a picture
// all differ. Each bin holds the exact chord integral at its centre, plus a faint tilt.
void WriteDiscVolume(const char *path, double shift);
// A volume whose every sample is value.
void WriteUniformVolume(const char *path, float value);
// A ramp filter: tap 0 2.5, odd taps -10 / (pi n)^2, even taps 0.
void WriteRampFilter(const char *path);

// Runs the core's reconstruction of slice row n of volume with filter by method, leaving
// ReconImage and DisplayMax as the program's final image shows them.
void ExpectedReconstruction(const char *volume, const char *filter, int n, char method);

// Reads a saved picture; returns 0 unless it is a whole one.
int LoadSavedPicture(const char *bitmapPath);
// The colour of pixel (x, y) of the picture loaded last, as 0xRRGGBB.
unsigned SavedPixel(int x, int y);

// Pixels of the final image in a saved picture that differ from the expected reconstruction;
// -1 when the file is not a whole saved picture. The first difference is described in first.
int FinalImageMismatches(const char *bitmapPath, char *first, int firstBytes);
// Pixels of the expected final image that are not black.
int LitFinalPixels();
// Pixels of the final image that differ between two saved pictures; -1 when either is
// not a whole saved picture.
int FinalImagesDiffer(const char *bitmapA, const char *bitmapB);
