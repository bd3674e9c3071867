// Host stand-ins for the window side of the program: a picture in memory behind the
// drawing primitives, scripted file choices, and a console that feeds scripted lines
// through the real input parser. Tests reset them, script them and read them back.
#pragma once
#include <stdint.h>
#include <string>

#include "app/window_side.h"

// ---- The picture (fake_picture.cpp) ----
const int FakeRecordsMax = 512;      // lines, boxes and labels recorded, each
const int FakeLabelChars = 64;       // label text kept, with its terminating zero
const int FakePathsMax = 16;         // scripted dialog answers

struct FakeLine { int x0, y0, x1, y1; uint32_t color; int width; };
struct FakeBox { int left, top, right, bottom; uint32_t color; int width; };
struct FakeLabel { int x, y, height; uint32_t color; char text[FakeLabelChars]; };

extern uint32_t (&FakePixels)[PictureHeight][PictureWidth];  // 0x00BBGGRR, graphics/memory_picture's
extern FakeLine FakeLines[FakeRecordsMax];
extern int FakeLineCount;      // lines drawn; only the first FakeRecordsMax are kept
extern FakeBox FakeBoxes[FakeRecordsMax];
extern int FakeBoxCount;
extern FakeLabel FakeLabels[FakeRecordsMax];
extern int FakeLabelCount;
extern int FakeClearCount;     // ClearSurface calls
extern int FakeOpenCount;      // GraphicsOpen calls
extern int FakeFlushCount;     // GraphicsFlush calls
extern int FakePumpCount;      // PumpMessage calls
extern int FakeDialogCount;    // ChooseOpenFile and ChooseSaveFile calls
extern int FakePlotCount;      // PlotGray calls
extern void (*FakePumpHook)(); // run by every PumpMessage when set

// Black picture, nothing recorded, counters 0, no scripted paths, DrawColor 0,
// PenWidth 1, SurfaceDirty 0.
void ResetFakePicture();
// The next file dialog returns this path; "" stands for a cancelled dialog.
// A dialog with nothing scripted returns "".
void FakeQueuePath(const char *path);
uint32_t FakePixel(int x, int y);   // 0xFFFFFFFF outside the picture
// A label as "text" at (x, y) height h colour 0xBBGGRR, for comparing in one go.
std::string DescribeLabel(const FakeLabel &label);

// ---- The console (fake_console.cpp) ----
const int FakeAnswersMax = 64;     // scripted typed lines
const int FakeMessagesMax = 16;    // message boxes recorded

// Thrown by ConsoleScan when it must wait and no scripted line is left.
struct ScriptEnded {};

extern char FakeMessages[FakeMessagesMax][MessageBytes];
extern int FakeMessageCount;   // ShowMessage calls; only the first FakeMessagesMax kept
extern int FakeScanCount;      // ConsoleScan calls
extern int FakeTypedCount;     // scripted lines consumed (each one "typed" and Enter)
extern int FakePlaceCount;     // PlaceConsoleForDialogue calls

// Empty ring, empty input line, no script, nothing recorded.
void ResetFakeConsole();
// Queues a line the user types at the next question that waits, then Enter.
void FakeQueueLine(const char *line);
int FakeLinesLeft();
// The console's text, oldest line first, lines joined by '\n'.
std::string FakeConsoleText();
