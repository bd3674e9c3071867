// The lesson's tables for documents and scripts, from the lesson table a run measured:
// lesson-table.md, attenuation-table.md, lesson-grid.md, attenuation-grid.md (English
// Markdown) and statements.csv (each statement's label, result and why).
#pragma once

// Writes them into folder, each through the safe replacement. 0 with ToolError when one
// could not be written whole.
int WriteLessonTables(const char *folder);
