// The smoothing scanners apply to an iterative image after its last iteration: a
// Gaussian of a given full width at half maximum, in pixels, kept to the round field.
#pragma once
#include "recon/geometry.h"

constexpr double PostFilterFwhmMax = 64.0;   // pixels; wider blurs the whole field into one grey

// Smooths image [P][Q] in place with a Gaussian of fwhm pixels (0 leaves it as it is);
// pixels outside the round field stay as they were, and none of them enters the sums.
void SmoothImage(double image[ImageSide][ImageSide], double fwhm);
