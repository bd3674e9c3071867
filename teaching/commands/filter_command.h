// quorvel_data filter: see its help text.
#pragma once

// argv[0] is "filter"; returns the tool's exit status, with ToolError set on failure.
int RunFilterCommand(int argc, char **argv);
extern const char *const FilterHelp;
