#include "recon/working_arrays.h"

// Static storage: zero at start, allocated once, about 298.5 MB in all.
float SinogramVolume[VolumeSlicesDeclared][ArraySide][ArraySide];
float SliceSinogram[ArraySide][ArraySide];
float FilteredSinogram[ArraySide][ArraySide];
float SmearImage[ArraySide][ArraySide];
float AngleStack[StackLayersDeclared][ArraySide][ArraySide];
float ReconImage[ArraySide][ArraySide];

float MaxCount;
double FilterTaps[FilterTapCount];
