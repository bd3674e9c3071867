// The picture held in memory, for drawing where there is no window: the data tool's
// pictures of the program's views, and the tests' stand-in for the window side.
#pragma once
#include <stdint.h>

#include "recon/geometry.h"

extern uint32_t MemoryPixels[PictureHeight][PictureWidth];   // [y][x] 0x00BBGGRR, top row first

void MemoryFill(uint32_t color);   // the whole picture
// Each clipped to the picture. A line includes both end points; width pixels across,
// each point of the one-pixel line widened to a square. A box fills left..right-1 by
// top..bottom-1, as the platform's rectangle covers.
void MemoryPlot(int x, int y, uint32_t color);
void MemoryLine(int x0, int y0, int x1, int y1, uint32_t color, int width);
void MemoryBox(int left, int top, int right, int bottom, uint32_t color);
