// Grey pictures of a teaching page: ImageSide wide, written as 24-bit BMP, whole or not
// at all.
#pragma once
#include "recon/geometry.h"

// Writes rows (at most ImageSide) rows of greys, the top row first. 0 with ToolError
// when the file could not be written whole.
int WriteGreyPicture(const char *path, const unsigned char greys[][ImageSide], int rows);

// A grey from 0 (black at low) to 255 (white at high), clipped; black for NaN.
unsigned char GreyBetween(double value, double low, double high);

// An image [P][Q] as the final image lies, P to the right and Q upward, black outside
// the round field, into greys.
void ImageGreysOf(const double image[ImageSide][ImageSide], double low, double high, unsigned char greys[][ImageSide]);
