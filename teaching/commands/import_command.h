// quorvel_data import: see its help text.
#pragma once

// argv[0] is "import"; returns the tool's exit status, with ToolError set on failure.
int RunImportCommand(int argc, char **argv);
extern const char *const ImportHelp;
