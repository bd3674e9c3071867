// Per-angle backprojection: filter or copy the projection, smear it, rotate it into its
// layer. A method of '1' is simple backprojection; any other is filtered.
#pragma once

#include "recon/geometry.h"

const float HoleMarker = -1.0f;   // an AngleStack pixel no rotated sample reached

// Resets layer a to HoleMarker, then copies or filters, smears and rotates angle a.
void BackprojectAngle(int a, char method);
void BackprojectAngles(char method);   // BackprojectAngle for a = 0..127 in turn
void FilterColumn(int a, char method);
void SmearColumn(int a);
void RotateIntoStack(int a);
