// Output files that appear whole or not at all, and that never harm what this run did
// not make: written under a fresh name beside the target, created exclusively (so an
// existing file or a link of that name is never used), then renamed over the target, as
// the program's saves are (graphics/replace_beside.h).
#pragma once
#include <stdio.h>

// Makes ready to write path, before any long work: refuses a folder, a pipe, a socket or
// a block device, opens a character device (such as /dev/null) to be written directly, and
// otherwise creates the temporary file, which an interruption (Ctrl-C, a termination
// signal) removes before the run ends. Returns the file to write, or null with ToolError
// set.
FILE *BeginReplacing(const char *path);

// Closes file and, when written is 1 and every byte reached the disk, puts it in path's
// place; otherwise removes it and leaves path as it was. Returns 1 when path holds the
// new file; 0 otherwise, with ToolError set when the close or the rename failed (when
// written is 0 the caller says why).
int FinishReplacing(const char *path, FILE *file, int written);

// Writes path directly with writeTo and closes it, for files no user's file stands in the
// way of (the sample folder, the tests). Returns 1 when writeTo wrote everything and the
// file closed.
int WriteFileWith(const char *path, int (*writeTo)(FILE *file));

// Whether two names stand for one existing file, so that an output would replace an
// input. A name that does not exist names no input.
int SameFile(const char *a, const char *b);
