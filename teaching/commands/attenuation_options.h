// The attenuation options of the sinogram and mlem commands: whether the lines are
// attenuated, what the map is (a phantom's bodies, water wherever a picture is not
// black, or a map picture) and the size of a pixel.
#pragma once

extern int AttenuationAsked;       // --attenuation or --attenuation-corrected
extern int AttenuationCorrected;   // --attenuation-corrected: each noisy bin divided by its factor
extern double PixelMm;             // --pixel-mm

// Reads --attenuation, --attenuation-corrected, --mu-map and --pixel-mm and refuses them
// where they do not fit the source. Returns 0 with ToolError when they do not.
int ReadAttenuationOptions();

// The factors of slice s from the picture just read and projected there: water where
// it is not black, or the --mu-map, which must be the picture's size.
int PictureSliceAttenuation(int s);
// The factors of every slice of the phantom built last.
void PhantomVolumeAttenuation();
// The factors of slice s for a rebuilt slice: from the phantom built last, from
// --picture (and --mu-map), or from --mu-map alone. 0 with ToolError when a file fails.
int SliceAttenuation(int s);

// Refuses, with 0 and ToolError, factors that are all 1: a black picture or map.
int CheckSomethingAttenuates();
// The smallest factor as a share of the counts, then after, on one line of the report.
void PrintSmallestAttenuation(float smallest, const char *after);

// What the factors were made of, for the report.
const char *AttenuationText();
