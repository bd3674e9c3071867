// quorvel_data lesson: see its help text.
#pragma once

// argv[0] is "lesson"; returns the tool's exit status, with ToolError set on failure.
int RunLessonCommand(int argc, char **argv);
extern const char *const LessonHelp;
