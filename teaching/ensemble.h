// Figures of a method over many noisy realisations of one slice: the contrast recovery
// of each region and the bias, both of the mean image, and the ensemble noise, the
// spread across realisations that one noisy image cannot give. Regions, the flat disc,
// the truth and the object's outline are those of slice_comparison.
#pragma once
#include "recon/geometry.h"
#include "teaching/slice_comparison.h"

const int EnsembleSlotsMax = 80;   // method and iteration pairs gathered at once

// Forgets every slot's images.
void ClearEnsemble();
// Adds one realisation's image [P][Q] to slot.
void AddToEnsemble(int slot, const double image[ImageSide][ImageSide]);

extern double EnsembleMean[ImageSide][ImageSide];    // [P][Q] of the slot measured last
extern double EnsembleStd[ImageSide][ImageSide];     // [P][Q] standard deviation across its realisations
extern double EnsembleBias[ImageSide][ImageSide];    // [P][Q] scaled mean minus the truth, in the outline
extern double EnsembleRecovery[RegionsMax];          // contrast recovery of each region, of the mean image
extern double EnsembleNoise;     // mean std over the mean's mean, in the flat disc; NaN for one realisation
extern double EnsembleBiasRms;   // RMS of EnsembleBias over the outline over the truth's RMS there

// The figures and maps of slot. The mean image is scaled so that its mean over the
// outline is the truth's before it is compared pixel by pixel (a method's units are its
// own); contrast and noise are ratios, which the scale leaves alone.
void MeasureEnsemble(int slot);
