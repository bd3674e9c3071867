// The line the user types and its scanf-like conversion into the answer of a question.
// Platform-free; the wait for Enter (ConsoleScan) is the window side's.
#pragma once
#include <stdarg.h>

const int InputLineBytes = 512;   // typed text with its terminating zero
const int InputLineMax = 511;     // longest line that can be typed
const int ScanFormatBytes = 256;  // copy of the current question's format
const int ScanTargetsMax = 40;    // destinations one question may name

extern char InputLine[InputLineBytes];  // typed text; after an answer, its untaken rest
extern int InputLength;                 // bytes stored in InputLine (code 0 counts too)
extern int WaitingForInput;             // a question waits for Enter; typing is accepted
extern int EchoOnParse;                 // ParseInputLine prints the line into the ring
extern char ScanFormat[ScanFormatBytes];
extern void *ScanTargets[ScanTargetsMax + 1];  // destinations, then a null pointer

// Converts InputLine by ScanFormat into ScanTargets, echoes and keeps the untaken rest.
void ParseInputLine();

// Applies one typed character code (not Enter) to InputLine.
void EditInputLine(unsigned char code);

// Copies the format and collects one destination per conversion (at most 40).
// Returns 1 when a rest left from an earlier answer has already answered it.
int BeginScan(const char *format, void *const *targets, int targetCount);

// BeginScan with the destinations taken from a variable argument list, one per
// conversion of the format.
int BeginScanArgs(const char *format, va_list args);

// Counts the conversions of a format, at most ScanTargetsMax: every percent sign but
// those of a literal "%%", which takes no destination, as in scanf.
int CountConversions(const char *format);
