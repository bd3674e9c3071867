// Start-up of both windows and the console window's procedure, timer and exit path.
#pragma once
#include <windows.h>

const int ConsoleStartSize = 480;   // console and graphics windows' first outer size, pixels
const int RefreshPeriodMs = 500;    // period of the refresh timer
const int FontBlockBytes = 60;      // a LOGFONTA record

extern HWND ConsoleWindow;      // the console, class "Application"
extern HWND GraphicsWindow;     // the picture window, class "Graphics"
extern HMENU ConsoleMenu;       // the right-click pop-up menu
extern UINT_PTR RefreshTimer;   // id of the 500 ms thread timer
extern LOGFONTA *ConsoleFont;   // GlobalAlloc'd description of the console's font
extern LOGFONTA *LabelFont;     // GlobalAlloc'd description of the surface's label font
extern int LineHeight;          // console line pitch in pixels, equal to ConsoleFont's height

// Face of both fonts: "標準ゴシック" in code page 932, 12 bytes and a zero.
extern const char GothicFaceName[13];

int InitWindows(HINSTANCE instance, int showCommand);
LRESULT CALLBACK ConsoleWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VOID CALLBACK RefreshTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
