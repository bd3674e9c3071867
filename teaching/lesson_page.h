// The lesson's page, from the lesson table a run measured and what it made
// (teaching/lesson_run.h).
#pragma once

// index.html in folder, in language 0 (English) or 1 (Japanese), through the safe
// replacement. 0 with ToolError when it could not be written whole.
int WriteLessonPage(const char *folder, int language);
