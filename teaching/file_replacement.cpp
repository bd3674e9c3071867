#include "teaching/file_replacement.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
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
#include "teaching/tool_error.h"

// The tool's temporary file is kept open from its exclusive creation on, so that nothing
// put in its name's place meanwhile is ever written.
static int PartDescriptor = -1;             // the temporary's descriptor, or -1
static char RenameFailure[256];             // why the last RenameOver failed

// An interruption (Ctrl-C, a termination signal, Ctrl-Break on Windows, where the C
// runtime turns the console's control events into these signals) removes the file begun,
// then ends the run as the signal would have.
static volatile sig_atomic_t PartPending;   // ReplacementPath names a file of this run
static int HandlersInstalled;
#ifdef _WIN32
static const int InterruptSignals[] = {SIGINT, SIGTERM, SIGBREAK};
#else
static const int InterruptSignals[] = {SIGINT, SIGTERM, SIGHUP};
#endif

static void RemovePartAndStop(int signal_) {
    if (PartPending) {
        PartPending = 0;
#ifdef _WIN32
        if (PartDescriptor >= 0) _close(PartDescriptor);  // Windows removes no open file
        _unlink(ReplacementPath);
#else
        unlink(ReplacementPath);
#endif
    }
    ::signal(signal_, SIG_DFL);
    raise(signal_);
}

// Installed once; a signal the shell made this run ignore (a background job's Ctrl-C)
// stays ignored.
static void InstallInterruptHandlers() {
    if (HandlersInstalled) return;
    HandlersInstalled = 1;
    for (int s : InterruptSignals)
        if (::signal(s, RemovePartAndStop) == SIG_IGN) ::signal(s, SIG_IGN);
}

#ifndef O_BINARY
#define O_BINARY 0
#endif

// ---- The tool's body of the file operations of a replacement ----
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

// ---- The tool's outputs ----
static int WritingDevice;   // the file begun is a character device, written directly

FILE *BeginReplacing(const char *path) {
    WritingDevice = 0;
    if (path[0] == 0) return Refuse("the output file has no name"), nullptr;
    InstallInterruptHandlers();
    PartDescriptor = -1;
    if (!BeginReplacement(path)) {
        if (ReplacementRefusal == TargetFolder) return Refuse("%s is a folder; give a file name", path), nullptr;
        if (ReplacementRefusal == TargetSpecial)
            return Refuse("%s is not a file but a pipe, socket or device; give a file name", path), nullptr;
        return Refuse("cannot write %s: %s (is its folder there and writable?)", path, strerror(errno)), nullptr;
    }
    if (ReplacementInPlace) {
        FILE *file = fopen(path, "wb");
        if (!file) Refuse("cannot write %s: %s", path, strerror(errno));
        WritingDevice = file != nullptr;
        return file;
    }
#ifdef _WIN32
    FILE *file = _fdopen(PartDescriptor, "wb");
#else
    FILE *file = fdopen(PartDescriptor, "wb");
#endif
    if (!file) {
        int error = errno;
#ifdef _WIN32
        _close(PartDescriptor);
#else
        close(PartDescriptor);
#endif
        PartDescriptor = -1;
        FinishReplacement(path, 0);
        PartPending = 0;
        errno = error;
        Refuse("cannot write %s: %s (is its folder there and writable?)", path, strerror(errno));
    }
    return file;
}

int FinishReplacing(const char *path, FILE *file, int written) {
    int closed = fclose(file) == 0;
    PartDescriptor = -1;
    if (!closed && written) written = Refuse("cannot write %s (is there room?)", path);
    if (WritingDevice) return written;
    int replaced = FinishReplacement(path, written);
    PartPending = 0;
    if (written && !replaced) return Refuse("cannot replace %s: %s", path, RenameFailure);
    return replaced;
}

int SameFile(const char *a, const char *b) {
    std::error_code error;
    return std::filesystem::equivalent(HostPath(a), HostPath(b), error) && !error;
}

int WriteFileWith(const char *path, int (*writeTo)(FILE *file)) {
    FILE *file = fopen(path, "wb");
    if (!file) return 0;
    int ok = writeTo(file);
    if (fclose(file) != 0) ok = 0;
    return ok;
}
