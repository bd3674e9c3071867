// quorvel_data: the teaching-data tool. Its commands write sinogram volumes and filter
// files for the program and compare a saved picture of a reconstruction with the truth.
#pragma once

const int ExitDone = 0;
const int ExitFailed = 1;   // a file could not be read or written
const int ExitUsage = 2;    // the command line asks for something the tool cannot do

// What quorvel_data --help prints, before the geometry's numbers are filled in: the
// commands of the table in data_tool.cpp and the program's geometry.
const char *ToolHelp();

// Runs the command line; prints results on standard output and returns the exit status.
// On failure ToolError holds the one line to show.
int RunDataTool(int argc, char **argv);
