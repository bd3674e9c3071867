// Typed characters reaching the console window while a question waits.
#pragma once
#include <windows.h>

// The console window's WM_CHAR handling: edits the line, or answers on Enter.
LRESULT HandleConsoleChar(HWND window, WPARAM wParam, LPARAM lParam);
