// The one line the data tool reports when an argument or a file is bad.
#pragma once

const int ToolErrorBytes = 512;
extern char ToolError[ToolErrorBytes];   // the last failure, one line without its end

// Formats the failure into ToolError and returns 0, so callers can return its result.
int Refuse(const char *format, ...) __attribute__((format(printf, 1, 2)));
// The same, returning status (an exit status of the tool).
int RefuseWith(int status, const char *format, ...) __attribute__((format(printf, 2, 3)));
