#include "recon/working_arrays.h"

// Static storage: zero at start, allocated once, about 298.5 MB in all.
float SinogramVolume[ArraySide][ArraySide][VolumeSlicesDeclared];
float SliceSinogram[ArraySide][ArraySide];
float FilteredSinogram[ArraySide][ArraySide];
float SmearImage[ArraySide][ArraySide];
float AngleStack[ArraySide][ArraySide][StackLayersDeclared];
float ReconImage[ArraySide][ArraySide];

float MaxCount;
double FilterTaps[FilterTapCount];
