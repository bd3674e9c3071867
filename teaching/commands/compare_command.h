// The figures of quorvel_data compare as CSV, which the lesson writes too.
#pragma once

// The lines compare --csv prints, of the figures measured last, each with its line end.
const int FigureCsvBytes = 4 * 4096 + 1024;   // a name shown escaped, and the figures
void FigureCsvHeader(char *text, int bytes);
void FigureCsvLine(char *text, int bytes, const char *saved);
