// The sum over angles, its background subtraction and the final grey scale.
#pragma once

extern float ReconMax;        // largest summed value, >= 0
extern int BackgroundLevel;   // ReconMax x BackgroundShare, truncated toward zero
extern float DisplayMax;      // largest value after subtraction, >= 0

void SumAngles();
void FindReconMax();
int BackgroundLevelOf(float reconMax);
void SubtractBackground();
void FindDisplayMax();
