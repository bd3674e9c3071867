// The scanner-effect options of the sinogram and mlem commands: --scatter, --randoms
// and --normalisation describe the data, --corrected what the sinogram tool undoes
// before it writes, and --model what mlem puts into its model.
#pragma once
#include <stdint.h>

extern int EffectsAsked;          // bits of the effects the data holds (contamination.h)
extern int CorrectedMask;         // --corrected
extern int ModelMask;             // --model
extern double ScatterEstimate;    // --scatter-estimate: the subtracted scatter over the true one
extern double NormalisationSpread;   // --normalisation

// Reads --scatter, --randoms and --normalisation into the contamination module and
// EffectsAsked (with attenuation's bit when attenuated); 0 with ToolError when refused.
int ReadEffectOptions(int attenuated);
// Reads the sinogram's --corrected, --scatter-estimate, --correction-mu-map, --map-right
// and --map-up; refuses a correction of an effect the data does not hold.
int ReadCorrectionOptions();
// Reads mlem's --model; each effect in it needs its option.
int ReadModelOptions();

// Draws the crystals' efficiencies from seed, or makes them equal.
void PrepareEfficiencies(uint64_t seed);
// The attenuation factors a correction divides by: those that made the data, or from
// --correction-mu-map, moved by --map-right and --map-up. pictureColumns and pictureRows
// give the source picture's size (0 when the source is not one picture). 0 with
// ToolError when the map fails.
int CorrectionAttenuation(int pictureColumns, int pictureRows);
// Prints each component's share of the expected counts written.
void PrintShares();
