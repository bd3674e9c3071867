// quorvel_data compare: see its help text.
#pragma once

// argv[0] is "compare"; returns the tool's exit status, with ToolError set on failure.
int RunCompareCommand(int argc, char **argv);
extern const char *const CompareHelp;
