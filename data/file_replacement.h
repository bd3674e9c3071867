// Output files that appear whole or not at all: written under a temporary name beside
// the target, then renamed over it.
#pragma once

const int ReplacementPathBytes = 4096;

// Runs write(temporaryPath) and, when it returns 1, renames the result to path. On any
// failure the temporary file is removed, path is left as it was, and 0 is returned
// with ToolError set.
int WriteReplacing(const char *path, int (*write)(const char *temporaryPath));
