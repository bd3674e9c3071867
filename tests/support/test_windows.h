// Start-up and read-back helpers for the tests that run the real windows.
#pragma once
#include <windows.h>

#include <string>

#include "tools/program_driver/dialogue_driver.h"

// Creates the console and graphics windows once per test program.
void EnsureWindows();

// Takes and dispatches every message that is waiting.
void DrainMessages();

// A path in the temporary folder, unique to this program run; the file is removed first.
std::string FreshTempPath(const char *name);

// The whole file, or an empty string with *exists cleared when it cannot be read.
std::string ReadWholeFile(const std::string &path, bool *exists = nullptr);

void WriteWholeFile(const std::string &path, const std::string &bytes);

// Pixels of a context inside a rectangle that differ from a colour.
int CountPixelsNot(HDC dc, RECT area, COLORREF color);
