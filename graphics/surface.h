// The graphics window's off-screen picture and its copies to the window.
#pragma once
#include <windows.h>
#include "app/window_side.h"

extern HDC SurfaceDC;            // memory device context holding the picture
extern HBITMAP SurfaceBitmap;    // the picture's bitmap, selected into SurfaceDC
extern uint32_t *SurfacePixels;  // the bitmap's rows, top row first, or null
extern int SurfaceGdiPending;    // GDI drew on the picture since PlotGray last wrote to it
extern int SurfaceWidth;         // pixels; 0 until the first GraphicsOpen
extern int SurfaceHeight;        // pixels; 0 until the first GraphicsOpen
extern HFONT LabelFontHandle;    // font of the label being drawn, else null
extern int GraphicsShown;        // the graphics window has been opened at least once
extern int SurfaceExists;        // a picture was made and must be deleted before the next

void RefreshSurface();  // the timer's step: copy the picture if it changed
LRESULT CALLBACK GraphicsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
