// Unequal detector efficiencies. Each slice is a ring of Crystals crystals, and line
// (a, r) joins crystals (a + r) mod Crystals and (a - r + Crystals / 2) mod Crystals:
// one step of a turns the pair one crystal (AngleStepDegrees) round the ring, one step
// of r moves its two ends apart by a crystal each, so a crystal's efficiency shows along
// the sinogram's diagonals a + r and a - r. A line's efficiency is the product of its
// two crystals'.
#pragma once
#include <stdint.h>

#include "recon/geometry.h"

const int Crystals = 2 * Angles;   // one ring, a crystal per angle step round the full turn
static_assert(Crystals == Bins, "a line's two ends are crystals of the ring");
const double SpreadMax = 0.2;      // a crystal's standard deviation about 1, at most
const double SpreadCut = 3.0;      // draws beyond 3 standard deviations are drawn again

extern double CrystalEfficiency[Slices][Crystals];   // [s][crystal] about 1, all 1 when not drawn

// Every ring's crystals drawn in slice order, each 1 + spread x a normal draw within
// SpreadCut, from seed (a stream of its own, not the counting noise's).
void DrawEfficiencies(double spread, uint64_t seed);
// All 1: detectors alike.
void EqualEfficiencies();
// The efficiency of line (a, r) of slice s.
double LineEfficiency(int s, int a, int r);
