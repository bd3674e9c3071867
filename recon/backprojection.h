// Per-angle backprojection: filter or copy the projection, smear it, rotate it into its layer.
#pragma once

const float HoleMarker = -1.0f;             // an AngleStack pixel no rotated sample reached
const double AngleStepDegrees = 1.40625;    // 180 / 128
const double RadiansPerDegree = 0.017453292519943295;
const double RotationCentre = 127.5;

char ChooseMethod();                 // '1' simple, anything else filtered
// Resets layer a to HoleMarker, then copies or filters, smears and rotates angle a.
void BackprojectAngle(int a, char method);
void BackprojectAngles(char method);   // BackprojectAngle for a = 0..127 in turn
void FilterColumn(int a, char method);
void SmearColumn(int a);
void RotateIntoStack(int a);
