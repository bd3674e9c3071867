// Cosine and sine of a rotation angle, identical in every build. The runtimes'
// own sin and cos differ in their last bits from one platform to another, and one
// bit is enough to move a rotated sample to a neighbouring pixel.
#pragma once

// For 0 <= theta <= pi: the exact cosine and sine rounded to the nearest double
// (to within a rare tie), computed with plain double arithmetic only.
void RotationCosSin(double theta, double *cosine, double *sine);
