#include "teaching/ensemble.h"

#include <math.h>
#include <string.h>

double EnsembleMean[ImageSide][ImageSide];
double EnsembleStd[ImageSide][ImageSide];
double EnsembleBias[ImageSide][ImageSide];
double EnsembleRecovery[RegionsMax];
double EnsembleNoise;
double EnsembleBiasRms;

const double RingInsideEdge = 2.0;    // the ring around a region, as compare takes it
const double RingOutsideEdge = 6.0;

static float Sum[EnsembleSlotsMax][ImageSide][ImageSide];       // [slot][P][Q] sum of the images, less the first
static float Squares[EnsembleSlotsMax][ImageSide][ImageSide];   // ... sum of their squares, less the first's
static double First[EnsembleSlotsMax][ImageSide][ImageSide];    // [slot][P][Q] the first image, about which the sums run
static int Count[EnsembleSlotsMax];                             // realisations added

void ClearEnsemble() { memset(Count, 0, sizeof Count); }

// Sums of the differences from the first image keep the variance exact in floats: a
// realisation differs from another by its noise, not its level.
void AddToEnsemble(int slot, const double image[ImageSide][ImageSide]) {
    if (slot < 0 || slot >= EnsembleSlotsMax) return;
    if (Count[slot] == 0) {
        memcpy(First[slot], image, sizeof First[slot]);
        memset(Sum[slot], 0, sizeof Sum[slot]);
        memset(Squares[slot], 0, sizeof Squares[slot]);
    } else {
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) {
                double d = image[p][q] - First[slot][p][q];
                Sum[slot][p][q] += (float)d;
                Squares[slot][p][q] += (float)(d * d);
            }
    }
    Count[slot]++;
}

void MeasureEnsemble(int slot) {
    int n = slot >= 0 && slot < EnsembleSlotsMax ? Count[slot] : 0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            double d = n ? Sum[slot][p][q] / (double)n : 0.0;
            double spread = n > 1 ? (Squares[slot][p][q] - n * d * d) / (n - 1) : NAN;
            EnsembleMean[p][q] = n ? First[slot][p][q] + d : 0.0;
            EnsembleStd[p][q] = spread > 0.0 ? sqrt(spread) : n > 1 ? 0.0 : NAN;
        }
    for (int r = 0; r < RegionCount; r++) {
        double in, inTruth, around, aroundTruth, radius = RegionRadius[r];
        ImageRingMeans(EnsembleMean, RegionColumn[r], RegionRow[r], -1.0, radius, &in, &inTruth);
        ImageRingMeans(EnsembleMean, RegionColumn[r], RegionRow[r], radius + RingInsideEdge, radius + RingOutsideEdge,
                       &around, &aroundTruth);
        EnsembleRecovery[r] = aroundTruth > 0.0 && inTruth != aroundTruth && around != 0.0
                                  ? (in / around - 1.0) / (inTruth / aroundTruth - 1.0)
                                  : NAN;
    }
    EnsembleNoise = NAN;
    if (FlatKnown) {
        double mean, std, unused;
        ImageRingMeans(EnsembleMean, FlatDisc[0], FlatDisc[1], -1.0, FlatDisc[2], &mean, &unused);
        ImageRingMeans(EnsembleStd, FlatDisc[0], FlatDisc[1], -1.0, FlatDisc[2], &std, &unused);
        EnsembleNoise = mean != 0.0 ? std / mean : NAN;
    }
    double image = 0.0, truth = 0.0, squares = 0.0, truthSquares = 0.0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (Evaluated[p][q]) image += EnsembleMean[p][q], truth += TruthSlice[p][q];
    double scale = image != 0.0 ? truth / image : 0.0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            EnsembleBias[p][q] = Evaluated[p][q] ? scale * EnsembleMean[p][q] - TruthSlice[p][q] : 0.0;
            squares += EnsembleBias[p][q] * EnsembleBias[p][q];
            if (Evaluated[p][q]) truthSquares += (double)TruthSlice[p][q] * TruthSlice[p][q];
        }
    EnsembleBiasRms = truthSquares > 0.0 ? sqrt(squares / truthSquares) : NAN;
}
