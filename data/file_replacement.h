// Output files that appear whole or not at all, and that never harm what this run did
// not make: written under a fresh name beside the target, created exclusively (so an
// existing file or a link of that name is never used), then renamed over the target.
#pragma once
#include <stdio.h>

// Writes path through write(file), which returns 1 when it wrote everything. A target
// that is a character device (such as /dev/null) is written directly; a folder, a pipe,
// a socket or a block device is refused. On any failure the temporary file is removed,
// the target is left as it was, and 0 is returned with ToolError set.
int WriteReplacing(const char *path, int (*write)(FILE *file));

// Whether two names stand for one existing file, so that an output would replace an
// input. A name that does not exist names no input.
int SameFile(const char *a, const char *b);
