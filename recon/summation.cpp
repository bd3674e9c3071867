// The sum over the angle layers, its flat background and the final grey scale.
#include "recon/summation.h"

#include <stdint.h>

#include "recon/working_arrays.h"

float ReconMax;        // largest summed value, >= 0
int BackgroundLevel;   // ReconMax x BackgroundShare, truncated toward zero
float DisplayMax;      // largest value after subtraction, >= 0

// Single precision, angle by angle in ascending order: the order fixes the last bits.
// Each layer is added whole before the next, which gives every pixel the same
// additions in the same order as summing it on its own.
void SumAngles() {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) ReconImage[p][q] = 0;
    for (int a = 0; a < Angles; a++)
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) ReconImage[p][q] += AngleStack[a][p][q];
}

// Largest value, never below 0; a NaN is passed over.
static float LargestReconValue() {
    float largest = 0.0f;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (ReconImage[p][q] > largest) largest = ReconImage[p][q];
    return largest;
}

void FindReconMax() { ReconMax = LargestReconValue(); }

// Truncated toward zero; a peak too large for the integer range (an infinite sum)
// saturates instead of converting out of range, and a NaN removes nothing.
int BackgroundLevelOf(float reconMax) {
    double level = (double)reconMax * BackgroundShare;
    if (level != level) return 0;
    if (level >= 2147483648.0) return INT32_MAX;
    if (level <= -2147483649.0) return INT32_MIN;
    return (int)level;
}

void SubtractBackground() {
    BackgroundLevel = BackgroundLevelOf(ReconMax);
    float background = (float)BackgroundLevel;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) ReconImage[p][q] = ReconImage[p][q] - background;
}

void FindDisplayMax() { DisplayMax = LargestReconValue(); }
