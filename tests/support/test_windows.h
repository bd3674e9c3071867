// Start-up and read-back helpers for the tests that run the real windows.
#pragma once
#include <windows.h>

#include <string>

#include "tools/program_driver/dialogue_driver.h"

// Creates the console and graphics windows once per test program.
void EnsureWindows();

// Takes and dispatches every message that is waiting.
void DrainMessages();

// Shows a window restored and on top, lets it paint, and waits until its whole client
// area is its own on the screen. False when another window still covers it.
bool ShowUncovered(HWND window);

// Whether every point of the window's client area is the window's own on the screen, so
// that reading its pixels back reads what it painted. Takes no messages.
bool Uncovered(HWND window);

// A path in the temporary folder, unique to this program run; the file is removed first.
std::string FreshTempPath(const char *name);

// The whole file, or an empty string with *exists cleared when it cannot be read.
std::string ReadWholeFile(const std::string &path, bool *exists = nullptr);

void WriteWholeFile(const std::string &path, const std::string &bytes);

// Pixels of a context inside a rectangle that differ from a colour.
int CountPixelsNot(HDC dc, RECT area, COLORREF color);
