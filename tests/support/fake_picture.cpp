#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "graphics/gray_level.h"
#include "graphics/memory_picture.h"
#include "support/fakes.h"

uint32_t DrawColor;
int PenWidth = 1;
int SurfaceDirty;

uint32_t (&FakePixels)[PictureHeight][PictureWidth] = MemoryPixels;   // the product's picture in memory
FakeLine FakeLines[FakeRecordsMax];
int FakeLineCount;
FakeBox FakeBoxes[FakeRecordsMax];
int FakeBoxCount;
FakeLabel FakeLabels[FakeRecordsMax];
int FakeLabelCount;
int FakeClearCount;
int FakeOpenCount;
int FakeFlushCount;
int FakePumpCount;
int FakeDialogCount;
int FakePlotCount;
void (*FakePumpHook)();

static char ScriptedPaths[FakePathsMax][PathBytes];  // answers of the next dialogs
static int PathsQueued;                              // paths scripted so far
static int PathsTaken;                               // paths handed out so far

static void SetPixel(int x, int y, uint32_t color) { MemoryPlot(x, y, color); }

static void FillBlack() { MemoryFill(0); }

void ResetFakePicture() {
    FillBlack();
    FakeLineCount = FakeBoxCount = FakeLabelCount = 0;
    FakeClearCount = FakeOpenCount = FakeFlushCount = FakePumpCount = 0;
    FakeDialogCount = FakePlotCount = 0;
    FakePumpHook = nullptr;
    PathsQueued = PathsTaken = 0;
    DrawColor = 0;
    PenWidth = 1;
    SurfaceDirty = 0;
}

void FakeQueuePath(const char *path) {
    if (PathsQueued >= FakePathsMax) abort();
    strncpy(ScriptedPaths[PathsQueued], path, PathBytes - 1);
    ScriptedPaths[PathsQueued][PathBytes - 1] = 0;
    PathsQueued++;
}

uint32_t FakePixel(int x, int y) {
    if (x < 0 || y < 0 || x >= PictureWidth || y >= PictureHeight) return 0xFFFFFFFFu;
    return FakePixels[y][x];
}

void PlotGray(int x, int y, float value, float max) {
    uint32_t g = (uint32_t)GrayLevel(value, max);
    DrawColor = g * 0x010101u;
    SetPixel(x, y, DrawColor);
    FakePlotCount++;
    SurfaceDirty = 1;
}

// A one-pixel line, both end points included; the pen width is only recorded.
void DrawLine(int x0, int y0, int x1, int y1) {
    if (FakeLineCount < FakeRecordsMax) FakeLines[FakeLineCount] = {x0, y0, x1, y1, DrawColor, PenWidth};
    FakeLineCount++;
    MemoryLine(x0, y0, x1, y1, DrawColor, 1);
    SurfaceDirty = 1;
}

// Fills left..right-1 by top..bottom-1, as the platform's rectangle covers.
void FillBox(int left, int top, int right, int bottom) {
    if (FakeBoxCount < FakeRecordsMax) FakeBoxes[FakeBoxCount] = {left, top, right, bottom, DrawColor, PenWidth};
    FakeBoxCount++;
    MemoryBox(left, top, right, bottom, DrawColor);
    SurfaceDirty = 1;
}

void DrawLabel(int x, int y, const char *text, int height) {
    if (FakeLabelCount < FakeRecordsMax) {
        FakeLabel &label = FakeLabels[FakeLabelCount];
        label = {x, y, height, DrawColor, {0}};
        strncpy(label.text, text, FakeLabelChars - 1);
    }
    FakeLabelCount++;
    SurfaceDirty = 1;
}

std::string DescribeLabel(const FakeLabel &label) {
    char text[FakeLabelChars + 64];
    snprintf(text, sizeof text, "\"%s\" at (%d, %d) height %d colour 0x%06X", label.text, label.x, label.y,
             label.height, (unsigned)label.color);
    return text;
}

void ClearSurface() {
    FillBlack();
    FakeClearCount++;
    SurfaceDirty = 1;
}

void GraphicsOpen() {
    DrawColor = ColorWhite;
    FillBlack();
    FakeOpenCount++;
    SurfaceDirty = 1;
}

void GraphicsFlush() {
    FakeFlushCount++;
    SurfaceDirty = 0;
}

void PumpMessage() {
    FakePumpCount++;
    if (FakePumpHook) FakePumpHook();
}

static void ChoosePath(char *destination) {
    FakeDialogCount++;
    destination[0] = 0;
    if (PathsTaken < PathsQueued) strcpy(destination, ScriptedPaths[PathsTaken++]);
}

void ChooseOpenFile(char *destination) { ChoosePath(destination); }
void ChooseSaveFile(char *destination) { ChoosePath(destination); }
