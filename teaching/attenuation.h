// Attenuation of the two 511 keV photons of each line: the chance that both leave the
// body is exp(-(integral of mu along the whole line)), wherever on it the pair was made.
// The integrals use the same exact chords as the activity.
#pragma once

#include "recon/geometry.h"

// Pixels of this size make the head phantom 20 cm from front to back.
const double PixelMmDefault = 1.3;
const double PixelMmMin = 0.05;
// The longest line, 256 sqrt 2 pixels of the densest map, stays below 64 (ExpOfNegative's range).
const double PixelMmMax = 5.0;
// A map picture's white, per cm: in an 8-bit map grey g is g / 1000 per cm (96 water, 170 bone).
const double MuMapWhitePerCm = 0.255;

extern float AttenuationFactor[Slices][Angles][Bins];  // [s][a][r] chance that both photons leave, 0..1
// The map moved by this many pixels along the image's first axis and its second (up),
// 0 but for a correction with a map out of place: a patient who moved after the CT.
extern double MapShiftRight;
extern double MapShiftUp;

// Factors of slice s of the current phantom, from its bodies' BodyMuPerCm.
void PhantomAttenuation(int s, double pixelMm);
// Factors of slice s from the map in PictureLevel (per cm, PictureWhite 1), placed as
// the pictures are.
void PictureAttenuation(int s, double pixelMm);
// Turns the picture read last into a map: water wherever it is not black.
void WaterWhereNotBlack();
// Turns the picture read last, a map in greys, into mu per cm.
void MuFromGreys();
// Gives every slice the factors of slice s.
void SpreadAttenuation(int s);

// Every factor 1: the rows that no picture fills let every count through.
void ClearAttenuation();
// SampleVolume times, or divided by, the factors.
void ApplyAttenuation();
void CorrectAttenuation();
// The smallest factor of the volume, 1 when nothing attenuates.
float SmallestAttenuation();
