// quorvel_data mlem: see its help text.
#pragma once

// argv[0] is "mlem"; returns the tool's exit status, with ToolError set on failure.
int RunMlemCommand(int argc, char **argv);
extern const char *const MlemHelp;
