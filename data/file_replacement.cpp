#include "data/file_replacement.h"

#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <system_error>

#include "data/tool_error.h"

static char TemporaryPath[ReplacementPathBytes];   // path + ".part"

int WriteReplacing(const char *path, int (*write)(const char *temporaryPath)) {
    std::error_code error;
    if (path[0] == 0) return Refuse("the output file has no name");
    if (std::filesystem::is_directory(path, error)) return Refuse("%s is a folder; give a file name", path);
    if (strlen(path) + 6 > sizeof TemporaryPath) return Refuse("%s: the name is too long", path);
    snprintf(TemporaryPath, sizeof TemporaryPath, "%s.part", path);
    if (!write(TemporaryPath)) {
        remove(TemporaryPath);
        return Refuse("cannot write %s (is its folder there and writable, and is there room?)", path);
    }
    // std::filesystem::rename replaces an existing file on Windows too.
    std::filesystem::rename(TemporaryPath, path, error);
    if (error) {
        remove(TemporaryPath);
        return Refuse("cannot replace %s: %s", path, error.message().c_str());
    }
    return 1;
}
