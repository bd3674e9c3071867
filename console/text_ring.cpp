// The console's ring of lines and the printf-like output that fills it.
#include "console/text_ring.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

char TextRing[RingLines][RingLineBytes];  // zero-terminated line texts
int WriteIndex = 0;     // ring slot of the current line, 0..RingLines-1
int OldestIndex = 0;    // ring slot of the oldest line held, 0..RingLines-1
int LineCount = 0;      // lines held, current line included; 1..RingLines once reset
int VisibleLines = 0;   // whole lines fitting the console's client area
int ScrollPos = 0;      // held lines above the first line shown
int ConsoleDirty = 0;   // the ring changed since the console was last repainted

// Room for one formatted text. Larger than a line so that the echo of a whole typed line
// (511 characters) or a prompt naming a long path is kept; longer texts are cut here.
const int PrintBytes = 1024;
// Working copy of the current line while a text is split into lines.
const int WorkingLineBytes = 168;

void ResetTextRing() {
    WriteIndex = 0;
    OldestIndex = 0;
    ScrollPos = 0;
    LineCount = 1;
    TextRing[0][0] = '\0';
}

static int NextSlot(int slot) {
    return slot + 1 >= RingLines ? 0 : slot + 1;
}

// Stores a finished line and opens the next slot; when the ring is full the oldest
// line's slot becomes the new current line.
static void CloseLine(const char *line) {
    memcpy(TextRing[WriteIndex], line, RingLineBytes);
    WriteIndex = NextSlot(WriteIndex);
    LineCount = LineCount + 1;
    if (LineCount > RingLines) {
        LineCount = RingLines;
        OldestIndex = NextSlot(OldestIndex);
    }
    // Closing a line puts the view back at the bottom.
    if (VisibleLines <= LineCount) ScrollPos = LineCount - VisibleLines;
}

int ConsolePrint(const char *format, ...) {
    char text[PrintBytes];
    va_list args;
    va_start(args, format);
    int produced = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (produced < 0) {
        produced = 0;
        text[0] = '\0';
    }
    int length = produced < PrintBytes ? produced : PrintBytes - 1;

    char line[WorkingLineBytes] = {};
    int used = (int)strnlen(TextRing[WriteIndex], RingLineChars);
    memcpy(line, TextRing[WriteIndex], used);

    // The terminating zero is walked too: it closes a line that has just reached full length.
    for (int i = 0; i <= length; i++) {
        char c = text[i];
        if (c != '\n' && used < RingLineChars) {
            if (i < length) line[used++] = c;
            continue;
        }
        line[used] = '\0';
        CloseLine(line);
        used = 0;
        if (c != '\n' && i < length) line[used++] = c;
    }
    line[used] = '\0';
    memcpy(TextRing[WriteIndex], line, RingLineBytes);

    ConsoleDirty = 1;
    return length;
}
