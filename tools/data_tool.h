// quorvel_data: the teaching-data tool. Its commands write sinogram volumes and filter
// files for the program and compare a saved picture of a reconstruction with the truth.
#pragma once

const int ExitDone = 0;
const int ExitFailed = 1;   // a file could not be read or written
const int ExitUsage = 2;    // the command line asks for something the tool cannot do

// Runs the command line; prints results on standard output and returns the exit status.
// On failure ToolError holds the one line to show.
int RunDataTool(int argc, char **argv);

int RunSinogramCommand(int argc, char **argv);   // argv[0] is "sinogram"
int RunFilterCommand(int argc, char **argv);
int RunCompareCommand(int argc, char **argv);

// Builds the phantom named by --phantom at the size --scale asks for, refusing sizes
// beyond the field. Returns 0 with ToolError when the options are bad.
int PhantomFromOptions(int *phantom, double *scale);

extern const char *const SinogramHelp;
extern const char *const FilterHelp;
extern const char *const CompareHelp;
