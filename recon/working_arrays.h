// The workflow's working arrays: declared larger than used, zero at start, and
// allocated once for the life of the program.
#pragma once
#include "recon/geometry.h"

const int ArraySide = 260;          // declared extent of bin, angle, P and Q indices
const int VolumeSlicesDeclared = 100;
const int StackLayersDeclared = 1000;

// Bin r, angle a and slice s are stored [s][a][r], in the file's order, and angle layer
// a of the stack [a][P][Q]: each view, copy and repair then walks memory in order, and
// only the used slices and layers are ever touched.
extern float SinogramVolume[VolumeSlicesDeclared][ArraySide][ArraySide];  // [s][a][r]
extern float SliceSinogram[ArraySide][ArraySide];     // [r][a] of the chosen slice
extern float FilteredSinogram[ArraySide][ArraySide];  // [r][a] after copy or filtering
extern float SmearImage[ArraySide][ArraySide];        // [r][c], current angle's smear
extern float AngleStack[StackLayersDeclared][ArraySide][ArraySide];  // [a][P][Q]
extern float ReconImage[ArraySide][ArraySide];        // [P][Q], the summed slice

extern float MaxCount;                       // largest sample of the volume, >= 0
extern double FilterTaps[FilterTapCount];    // tap l weights a sample l bins away
