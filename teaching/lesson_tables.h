// The lesson's tables for documents and scripts, from the lesson table a run measured:
// lesson-table.md, attenuation-table.md, tradeoff-table.md, corrections-table.md, and the
// grids lesson-grid.md, attenuation-grid.md, corrections-grid.md (English Markdown), and
// statements.csv (each statement's label, result and why).
#pragma once
#include "teaching/lesson_statements.h"

// Each lesson's files are NAME-table.md, NAME-grid.md and NAME-grid.png.
extern const char *const LessonFileNames[LessonCount];   // "lesson", "attenuation", "tradeoff", "corrections"

// Writes them into folder, each through the safe replacement. 0 with ToolError when one
// could not be written whole.
int WriteLessonTables(const char *folder);
