// quorvel_data compare: see its help text.
#pragma once

// argv[0] is "compare"; returns the tool's exit status, with ToolError set on failure.
int RunCompareCommand(int argc, char **argv);
extern const char *const CompareHelp;

// The lines compare --csv prints, of the figures measured last, each with its line end.
const int FigureCsvBytes = 4 * 4096 + 1024;   // a name shown escaped, and the figures
void FigureCsvHeader(char *text, int bytes);
void FigureCsvLine(char *text, int bytes, const char *saved);
