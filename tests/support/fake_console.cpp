#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/window_side.h"
#include "console/input_line.h"
#include "console/ring_lines.h"
#include "console/text_ring.h"
#include "support/fakes.h"

char FakeMessages[FakeMessagesMax][MessageBytes];
int FakeMessageCount;
int FakeScanCount;
int FakeTypedCount;
int FakePlaceCount;

static char ScriptedLines[FakeAnswersMax][InputLineBytes];  // lines still to be typed
static int LinesQueued;                                     // lines scripted so far

void ResetFakeConsole() {
    ResetTextRing();
    InputLine[0] = 0;
    InputLength = 0;
    WaitingForInput = 0;
    EchoOnParse = 0;
    FakeMessageCount = FakeScanCount = FakeTypedCount = FakePlaceCount = 0;
    LinesQueued = 0;
}

void FakeQueueLine(const char *line) {
    if (LinesQueued >= FakeAnswersMax) abort();
    strncpy(ScriptedLines[LinesQueued], line, InputLineMax);
    ScriptedLines[LinesQueued][InputLineMax] = 0;
    LinesQueued++;
}

int FakeLinesLeft() { return LinesQueued - FakeTypedCount; }

std::string FakeConsoleText() { return RingText(); }

// What the wait of a question amounts to: the scripted line is typed, then Enter.
int ConsoleScan(const char *format, ...) {
    FakeScanCount++;
    va_list args;
    va_start(args, format);
    int answered = BeginScanArgs(format, args);
    va_end(args);
    if (answered) return 0;
    if (FakeTypedCount >= LinesQueued) throw ScriptEnded();
    strcpy(InputLine, ScriptedLines[FakeTypedCount++]);
    InputLength = (int)strlen(InputLine);
    WaitingForInput = 0;
    EchoOnParse = 1;
    ParseInputLine();
    return 0;
}

void ShowMessage(const char *format, ...) {
    char text[MessageBytes];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (FakeMessageCount < FakeMessagesMax) strcpy(FakeMessages[FakeMessageCount], text);
    FakeMessageCount++;
}

void PlaceConsoleForDialogue() { FakePlaceCount++; }
