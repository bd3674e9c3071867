// What the workflow draws with: the picture's drawing state and primitives, the
// window services it needs while it works, and the file choosers. Platform-free
// declarations; the graphics window implements them.
#pragma once
#include <stdint.h>

const int SurfaceWidthPixels = 1200;   // the picture's fixed size
const int SurfaceHeightPixels = 800;
const int PathBytes = 260;             // a path with its terminating zero

const uint32_t ColorBlack = 0x00000000u;   // colours are laid out 0x00BBGGRR
const uint32_t ColorWhite = 0x00FFFFFFu;
const uint32_t ColorYellow = 0x0000FFFFu;

extern uint32_t DrawColor;  // current colour of pixels, lines, boxes and labels
extern int PenWidth;        // line width of lines and box outlines, pixels
extern int SurfaceDirty;    // the picture changed since it was last copied to the window

void PlotGray(int x, int y, float value, float max);
void DrawLine(int x0, int y0, int x1, int y1);
void FillBox(int left, int top, int right, int bottom);
void DrawLabel(int x, int y, const char *text, int height);
void ClearSurface();

void GraphicsOpen();
void GraphicsFlush();
void PumpMessage();

void ChooseOpenFile(char *destination);
void ChooseSaveFile(char *destination);
