// The window side as the platform-free code reaches it: the picture with its drawing
// state and primitives, the message pump, the file choosers, the message box, the wait
// for an answer and the console's place. The Windows build implements it in console/ and
// graphics/; the host tests implement it with stand-ins (tests/support/).
#pragma once
#include <stdint.h>

#include "recon/geometry.h"

const int PathBytes = 260;      // a path with its terminating zero: MAX_PATH
const int MessageBytes = 260;   // a message box's text is cut to 259 characters

const uint32_t ColorBlack = 0x00000000u;   // colours are laid out 0x00BBGGRR
const uint32_t ColorWhite = 0x00FFFFFFu;
const uint32_t ColorYellow = 0x0000FFFFu;

// The picture (PictureWidth x PictureHeight) and its drawing state.
extern uint32_t DrawColor;  // current colour of pixels, lines, boxes and labels
extern int PenWidth;        // line width of lines and box outlines, pixels
extern int SurfaceDirty;    // the picture changed since it was last copied to the window

void PlotGray(int x, int y, float value, float max);
void DrawLine(int x0, int y0, int x1, int y1);
void FillBox(int left, int top, int right, int bottom);
void DrawLabel(int x, int y, const char *text, int height);
void ClearSurface();

// Shows the picture window with a fresh black picture; copies the picture to it now.
void GraphicsOpen();
void GraphicsFlush();

// Serves one waiting window message, for work that runs long without asking anything.
void PumpMessage();

// The open and save dialogs: the chosen path, or "" when the user cancelled.
void ChooseOpenFile(char *destination);
void ChooseSaveFile(char *destination);

// printf-like report in a modal box owned by the console window.
void ShowMessage(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Asks: blocks, with the windows served, until the user has answered with Enter, then
// converts the answer scanf-like into one destination per conversion. Returns 0.
int ConsoleScan(const char *format, ...) __attribute__((format(scanf, 1, 2)));

// Moves the console to the screen's left edge (2, 20, 350 x 600) and titles it "Quorvel".
void PlaceConsoleForDialogue();
