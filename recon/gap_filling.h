// Repair of the rotated layers: holes filled from opposite neighbours, negatives clipped.
#pragma once

extern float GalleryMax;   // grey-scale reference of the angle gallery: max of layer 1, >= 0

void FillGaps(int a);
void ClipNegatives(int a);
void FindGalleryMax();
