// Repair of the rotated layers: holes filled from opposite neighbours, negatives clipped.
#pragma once

extern float GalleryMax;   // grey-scale reference of the angle gallery: max of layer 1, >= 0

void FillGaps(int a);
void ClipNegatives(int a);
// BackprojectAngle, FillGaps and ClipNegatives, layer by layer: the workflow's way of
// building the 128 repaired layers.
void BackprojectAndRepairAngles(char method);
void FindGalleryMax();
