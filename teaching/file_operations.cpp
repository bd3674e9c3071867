// The tool's body of the file operations of a replacement (graphics/replace_beside.h), on
// UTF-8 paths through the C runtime. A file of its own, needing nothing of the
// replacement's that the program's body lacks: a program that links the window side too
// (a benchmark) takes one body of the two, whichever it finds first.
#include "teaching/file_operations.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <filesystem>
#include <system_error>

#include "graphics/replace_beside.h"
#include "teaching/host_path.h"

#ifndef O_BINARY
#define O_BINARY 0
#endif

const int LongestWritablePath = ReplacementPathBytes;

int ExamineTarget(const char *target) {
    struct stat status;
    if (stat(target, &status) != 0) return TargetAbsent;
    if (S_ISDIR(status.st_mode)) return TargetFolder;
    if (S_ISCHR(status.st_mode)) return TargetDevice;
    if (!S_ISREG(status.st_mode)) return TargetSpecial;
    return TargetFile;
}

int CreateNewFile(const char *path) {
#ifdef _WIN32
    int fd = _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0666);
#endif
    if (fd < 0) return errno == EEXIST ? 0 : -1;
    PartDescriptor = fd;
    PartPending = 1;
    return 1;
}

// std::filesystem::rename replaces an existing file on Windows too.
int RenameOver(const char *from, const char *to) {
    std::error_code error;
    std::filesystem::rename(HostPath(from), HostPath(to), error);
    snprintf(RenameFailure, sizeof RenameFailure, "%s", error ? error.message().c_str() : "");
    return !error;
}

void RemoveFile(const char *path) { remove(path); }

const char *NextCharacter(const char *p) { return p + 1; }

