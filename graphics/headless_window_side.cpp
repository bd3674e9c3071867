// The window side without a window: the data tool draws the program's views into the
// picture in memory, with the program's own grey levels. Labels need the platform's
// fonts and are left out; every other primitive lands where the program's does (wide
// lines as squares along the one-pixel line). No file chooser, question or message box
// is reached by what the tool runs; they answer as a cancelled dialog and an empty line.
#include "app/window_side.h"
#include "graphics/gray_level.h"
#include "graphics/memory_picture.h"

uint32_t DrawColor = ColorBlack;   // current colour, 0x00BBGGRR
int PenWidth = 1;                  // line width, pixels
int SurfaceDirty = 0;              // the picture changed since GraphicsFlush

const uint32_t GrayToColor = 0x00010101u;   // one grey level in each of red, green and blue

void PlotGray(int x, int y, float value, float max) {
    DrawColor = (uint32_t)GrayLevel(value, max) * GrayToColor;
    MemoryPlot(x, y, DrawColor);
    SurfaceDirty = 1;
}

void DrawLine(int x0, int y0, int x1, int y1) {
    MemoryLine(x0, y0, x1, y1, DrawColor, PenWidth);
    SurfaceDirty = 1;
}

void FillBox(int left, int top, int right, int bottom) {
    MemoryBox(left, top, right, bottom, DrawColor);
    SurfaceDirty = 1;
}

void DrawLabel(int, int, const char *, int) { SurfaceDirty = 1; }

void ClearSurface() {
    MemoryFill(ColorBlack);
    SurfaceDirty = 1;
}

void GraphicsOpen() {
    DrawColor = ColorWhite;
    MemoryFill(ColorBlack);
    SurfaceDirty = 1;
}

void GraphicsFlush() { SurfaceDirty = 0; }
void PumpMessage() {}
void ChooseOpenFile(char *destination) { destination[0] = '\0'; }
void ChooseSaveFile(char *destination) { destination[0] = '\0'; }
int ConsoleScan(const char *, ...) { return 0; }
void PlaceConsoleForDialogue() {}
