// What a scanner adds to the true counts of each line, in the order it sees them: the
// trues (attenuated, where attenuation is on) and the scattered photons (the trues
// blurred along the bins) are both detected by the line's two crystals, so the line's
// efficiency multiplies both; random coincidences of two unrelated photons are counted
// as a flat floor over the lines of the field. So a line's expected count is
//     efficiency x (attenuation x trues + scatter) + randoms,
// and (measured - randoms - efficiency x scatter) / (attenuation x efficiency) undoes it.
// All of it is drawn before the counting noise.
#pragma once

#include "recon/geometry.h"

// The effects, as bits of a list of names ("attenuation,scatter,randoms,normalisation").
const int EffectAttenuation = 1;
const int EffectScatter = 2;
const int EffectRandoms = 4;
const int EffectNormalisation = 8;
const int EffectKinds = 4;
extern const char *const EffectNames[EffectKinds];   // in bit order

extern double ScatterFraction;   // scatter's share of trues plus scatter, 0 to below 1
extern double RandomsFraction;   // randoms' share of all counts, 0 to below 1
extern int EffectsNormalised;    // 1: CrystalEfficiency multiplies each line

extern float ScatterCounts[Slices][Angles][Bins];   // [s][a][r] expected scatter as counted: efficiency x blur
extern double RandomsPerLine[Slices];               // [s] expected randoms of each line of the slice
extern double TrueTotal;                            // expected trues counted (after efficiency), all slices made
extern double ScatterTotal;                         // ... scatter counted
extern double RandomsTotal;                         // ... randoms

// Reads "name,name,...", each one of EffectNames, into a mask of bits; 0 with ToolError
// naming the option when a name is unknown, repeated or the list empty.
int EffectList(const char *option, const char *text, int *mask);
// The names of mask's bits, comma-separated, for reports ("none" for no bit).
const char *EffectListText(int mask);

// Zeroes the totals, before the slices are made.
void StartContamination();
// Slice s of SampleVolume holds its attenuated trues; adds the scanner's effects and
// counts their shares into the totals. The efficiencies are drawn before.
void ContaminateSlice(int s);
// Every slice in turn.
void ContaminateVolume();

// Slice s of SampleVolume with the corrections of mask applied, using the known expected
// terms: the scatter scaled by scatterEstimate, AttenuationFactor as it stands then.
void CorrectSlice(int s, int mask, double scatterEstimate);
