// The shape of scattered coincidences: a photon that scatters in the body still makes a
// count, on a line that misses where the pair was made. Modelled, as courses do, by the
// true (attenuated) sinogram blurred along the radial bins by a wide Gaussian; its tails
// reach lines that miss the body.
#pragma once

#include "recon/geometry.h"

const double ScatterBlurBins = 15.0;   // the Gaussian's standard deviation, bins
const int ScatterReach = 60;           // the kernel ends 4 standard deviations out

// out[a][r] = the sum over r' of trues[a][r'] x the kernel at r - r', the kernel adding
// up to 1 (what it carries past the outermost bins is lost from the field).
void BlurAlongBins(const float trues[Angles][Bins], float out[Angles][Bins]);
