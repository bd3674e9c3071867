// The console's text: a ring of the last 200 lines and printf-like output into it.
// Platform-free: output only changes memory and marks the console dirty; the
// console window repaints on its next timer tick.
#pragma once

const int RingLines = 200;      // lines the ring holds, the current line included
const int RingLineChars = 160;  // characters a line holds before it is closed
const int RingLineBytes = 161;  // one line with its terminating zero

extern char TextRing[RingLines][RingLineBytes];  // zero-terminated line texts
extern int WriteIndex;     // ring slot of the current, unfinished line
extern int OldestIndex;    // ring slot of the oldest line held
extern int LineCount;      // lines held, current line included, 1..200
extern int VisibleLines;   // whole lines that fit in the console's client area
extern int ScrollPos;      // held lines above the first line shown; bottom is LineCount - VisibleLines
extern int ConsoleDirty;   // set by ConsolePrint, cleared by the timer when it repaints

// Start-up values: one empty line, nothing scrolled.
void ResetTextRing();

// Formats like printf and appends to the ring; returns the formatted length.
int ConsolePrint(const char *format, ...)
    __attribute__((format(printf, 1, 2)));
