// How flat a region of one true activity comes out from its middle to its edge: without
// attenuation correction the middle of a body shows darker (cupping).
#pragma once

// The mean share of the peak in the flat disc over that in a band 2 to 6 pixels inside
// the outer edge of the region of the disc's true level; 1 is flat. NaN when there is no
// flat disc, no such band, or both show black somewhere. Black counts as the 30 % floor it
// lies below, so black in the disc only makes the figure a bound from above (-1), black in
// the band only, from below (+1).
extern double SliceUniformity;
extern int UniformityBound;
extern char UniformityReason[];   // why it is NaN or a bound, in a few words ("" when exact)

// Measures it in ShownGrey against TruthSlice, after FindFinalImage and the truth.
void MeasureUniformity();
