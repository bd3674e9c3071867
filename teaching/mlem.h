// One slice rebuilt by maximum-likelihood expectation maximisation (MLEM), or by its
// ordered-subset form (OSEM). The system model is the tool's exact projector: a pixel is
// a square of uniform activity, and a line's expected count is the sum of the chords
// through the squares it crosses times their activities, times the line's attenuation
// factor, plus the line's additive counts (scatter and randoms). Only the pixels whose centres lie in the scanner's round field are rebuilt.
#pragma once

#include "recon/geometry.h"

// The image, the counts and all the working state are each thread's own, so that
// realisations can be rebuilt at once on several threads; the table of chords is shared.
const int SubsetsMax = 32;   // a power of two; each subset holds Angles / subsets angles

extern thread_local double MlemImage[ImageSide][ImageSide];   // [P][Q] activity, counts per pixel of path; 0 outside the field
extern thread_local float MlemCounts[Angles][Bins];           // [a][r] the measured counts of the slice, >= 0
extern thread_local float MlemFactor[Angles][Bins];           // [a][r] each line's attenuation factor in the model, 1 for none
extern thread_local float MlemAdditive[Angles][Bins];         // [a][r] counts the model adds to each line whatever the image, >= 0
extern thread_local double MlemExpected[Angles][Bins];        // [a][r] the model's counts for MlemImage
// The Poisson log-likelihood of the counts given MlemExpected, against a perfect fit: the
// sum of y ln(e / y) - e + y over the bins; 0 only when every e equals its y.
extern thread_local double MlemLogLikelihood;

// Builds the table of chords, once; the later calls are free. Called before MLEM runs on
// several threads, which then only read it.
void PrepareChords();

// MlemExpected for every angle: the chords times MlemImage, times MlemFactor, plus MlemAdditive.
void ProjectMlemImage();

// Starts from a uniform image over the field whose expected counts add up to the
// measured ones, for updates by the given number of subsets (1 is MLEM), and sets
// MlemExpected and MlemLogLikelihood.
void StartMlem(int subsets);

// One pass through all subsets, each update scaling every pixel by the backprojected
// ratio of measured to expected counts over its sensitivity; then MlemExpected and
// MlemLogLikelihood of the new image.
void MlemIteration();

// When set, called in each subset's update just before the image is scaled, with that
// subset's backprojected ratio and its sensitivity, [P][Q]: every pixel whose sensitivity
// is above 0 is then multiplied by their quotient. For pictures of the steps.
extern void (*MlemUpdateWatch)(int subset, const double backprojection[ImageSide][ImageSide],
                               const float sensitivity[ImageSide][ImageSide]);
