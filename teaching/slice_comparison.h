// A saved picture of the program's final image against the true slice: where the
// picture shows it, the true slice as the program would show it, and the figures a
// teacher compares methods by.
//
// The program shows a slice with 30 % of its peak subtracted, scaled so the rest of the
// peak is white, negatives black. So a grey g stands for 0.3 + 0.7 g / 255 of the slice's
// peak, and black for that much or less. Correlation and error compare the picture with
// the same picture of the true slice (the ideal grey); contrast and noise are read in
// shares of the peak, which are proportional to the reconstructed activity wherever
// the picture is not black.
#pragma once

#include "recon/geometry.h"


extern float ShownGrey[ImageSide][ImageSide];     // [P][Q] grey 0..255 of the saved final image
extern float TruthSlice[ImageSide][ImageSide];    // [P][Q] true activity, any unit
extern unsigned char Evaluated[ImageSide][ImageSide];  // [P][Q] 1 inside the object's outline

const int RegionsMax = 16;
const int RegionNameBytes = 24;
extern int RegionCount;                         // regions whose contrast is measured
extern double RegionColumn[RegionsMax];         // centre, slice column (P), pixels
extern double RegionRow[RegionsMax];            // centre, slice row (255 - Q), pixels
extern double RegionRadius[RegionsMax];         // pixels
extern char RegionName[RegionsMax][RegionNameBytes];  // "hot_r9", "cold_r8", "region1"
extern double FlatDisc[3];                      // column, row, radius of the flat region
extern int FlatKnown;                           // 1 when FlatDisc is set

extern double SliceCorrelation;                 // shown against ideal grey, inside the outline
extern double SliceRmsError;                    // RMS of the difference over RMS of the ideal
extern double RegionRecovery[RegionsMax];       // contrast to the ring around, over the true one
extern double FlatNoise;                        // std dev over mean in the flat region, 0..
// Where black pixels hide part of a figure: +1 the truth is at least the figure, -1 at
// most, 0 the figure is exact.
extern int FlatNoiseBound;

// Why a figure is NaN, in a few words ("" when it is a number).
const int ReasonBytes = 96;
extern char CorrelationReason[ReasonBytes];
extern char RmsErrorReason[ReasonBytes];
extern char RegionReason[RegionsMax][ReasonBytes];
extern char NoiseReason[ReasonBytes];          // or why the noise is only a bound

// What the user should know of figures that are numbers: a region partly off the slice,
// a flat region of more than one true level. One line each.
const int NotesMax = RegionsMax + 2;
const int NoteBytes = 160;
extern int NoteCount;
extern char Notes[NotesMax][NoteBytes];

// Takes the final image from the picture read last (PictureLevel, PictureWidth x
// PictureHeight): grey 2 x 2 blocks from x 0 and y FinalImageTop, in greys 0..255
// whatever the file's largest level. Returns 0 with ToolError when no such image is there.
int FindFinalImage(const char *path);

// The true slice of the current phantom at height z, averaged over each pixel; the
// outline is the phantom's outermost body.
void TruthFromPhantom(double z);
// The picture read last, placed as the sinogram tool places it; the outline is the
// picture's rectangle.
void TruthFromPicture();

// The phantom's spheres that the plane z cuts with a radius of 2 pixels or more.
void AddSphereRegions(double z);
int AddRegion(const char *name, double column, double row, double radius);
// The disc of the given radius, inside the outline and of one true level, nearest the
// slice centre. Returns 0 when there is none.
int FindFlatRegion(double radius);

// Computes the figures above and the notes; a figure that cannot be had is NaN.
void MeasureSlice();

// The share of the slice's peak that grey g stands for.
double PeakShare(double g);
// Adds a note, when there is room.
void Note(const char *format, ...) __attribute__((format(printf, 1, 2)));
// Whether the disc reaches past the slice's edge.
int DiscLeavesSlice(double column, double row, double radius);

// Mean of image [P][Q] over the pixels from inner to outer pixels from (column, row), as
// RingMeans gathers them, and the mean true activity there; NaN for no pixels.
void ImageRingMeans(const double image[ImageSide][ImageSide], double column, double row, double inner, double outer,
                    double *mean, double *truth);
// Mean share of the peak over the pixels from inner to outer pixels from (column, row)
// in the picture (inner < 0: the whole disc), and the mean true activity there.
void RingMeans(double column, double row, double inner, double outer, double *shown, double *truth);
// How many of the same pixels show black, and (pixels) how many there are.
int RingBlack(double column, double row, double inner, double outer, int *pixels);
