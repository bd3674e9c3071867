// quorvel_data export: see its help text.
#pragma once

// argv[0] is "export"; returns the tool's exit status, with ToolError set on failure.
int RunExportCommand(int argc, char **argv);
extern const char *const ExportHelp;
