// MLEM shown step by step: for some of the iterations, the pictures of what one update
// does (the image, the measured and expected sinograms, their ratio, its backprojection,
// the sensitivity, the update) on a page with the log-likelihood of every iteration.
#pragma once
#include "recon/geometry.h"

const int StepIterationsMax = 1000;   // iterations whose log-likelihood the page plots
const int StepsShownMax = 8;          // iterations shown in pictures

extern double StepImage[ImageSide][ImageSide];          // [P][Q] the image before the update
extern double StepExpected[Angles][Bins];               // [a][r] the model's counts for StepImage
extern double StepRatio[Angles][Bins];                  // [a][r] measured over expected; 0 where nothing is expected
extern double StepBackprojected[ImageSide][ImageSide];  // [P][Q] the ratio backprojected, times the factors
extern double StepSensitivity[ImageSide][ImageSide];    // [P][Q] the backprojection of the factors
extern double StepUpdate[ImageSide][ImageSide];         // [P][Q] their quotient, 0 where the sensitivity is 0

// Makes the folder if it is missing and tries a file in it, before any iteration. iterations is the run's last, up to StepIterationsMax. 0 with ToolError
// when the folder cannot be written.
int BeginSteps(const char *folder, const char *input, long row, int iterations);
// Whether iteration k (from 1) is shown: 1, 2, 5, 10, 20, 50 and the last.
int StepShown(int k);
// Around one MLEM iteration: records the image and the ratio of the current expected
// counts, then the update the iteration applied (with one subset).
void CaptureStepStart();
void CaptureStepEnd();
// Writes the pictures of iteration k from what was captured. 0 with ToolError on failure.
int WriteStepPictures(int k);
// The log-likelihood after iteration k, 0 for the flat start.
void NoteStepLikelihood(int k, double value);
// Writes the page and puts it in place when ok is 1 (the pictures all written). Returns 1
// when the page is in place.
int FinishSteps(int ok);
