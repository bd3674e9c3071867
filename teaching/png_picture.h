// Grey pictures as PNG, which browsers and slides take: the lesson's tiles.
#pragma once
#include "recon/geometry.h"

// Writes rows (at most ImageSide) rows of greys ImageSide wide, the top row first, whole
// or not at all. 0 with ToolError when the file could not be written.
int WriteGreyPng(const char *path, const unsigned char greys[][ImageSide], int rows);
