#include "teaching/file_replacement.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <filesystem>
#include <system_error>

#include "teaching/host_path.h"
#include "teaching/tool_error.h"

const int TemporaryPathBytes = 8192;    // the target's folder and the temporary name
const int TemporaryNamesTried = 64;
static char TemporaryPath[TemporaryPathBytes];   // the file this run created, or ""
static unsigned long NameState;                  // varies the temporary names

// An interruption (Ctrl-C, a termination signal, Ctrl-Break on Windows, where the C
// runtime turns the console's control events into these signals) removes the file begun,
// then ends the run as the signal would have.
static volatile sig_atomic_t PartPending;   // TemporaryPath names a file of this run
static int PartDescriptor = -1;             // its descriptor: Windows removes no open file
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
        if (PartDescriptor >= 0) _close(PartDescriptor);
        _unlink(TemporaryPath);
#else
        unlink(TemporaryPath);
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

// Bytes of path up to and including its last folder separator.
static size_t FolderLength(const char *path) {
    size_t length = 0;
    for (size_t i = 0; path[i]; i++)
        if (path[i] == '/' || path[i] == '\\' || path[i] == ':') length = i + 1;
    return length;
}

// Creates a new, empty file of a name of its own in path's folder and opens it for
// writing. The name is short, whatever the target's length, and O_EXCL refuses any
// name that is already there, a link included, so nothing existing is ever opened.
static FILE *CreateTemporary(const char *path) {
    size_t folder = FolderLength(path);
    if (folder + 32 > (size_t)TemporaryPathBytes) return nullptr;
    if (NameState == 0) NameState = (unsigned long)time(nullptr) ^ (unsigned long)(size_t)&folder;
    for (int attempt = 0; attempt < TemporaryNamesTried; attempt++) {
        NameState = NameState * 1103515245ul + 12345ul;
        snprintf(TemporaryPath, sizeof TemporaryPath, "%.*s~qv%08lx.part", (int)folder, path,
                 (NameState >> 3) & 0xFFFFFFFFul);
#ifdef _WIN32
        int fd = _open(TemporaryPath, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        FILE *file = fd >= 0 ? _fdopen(fd, "wb") : nullptr;
#else
        int fd = open(TemporaryPath, O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0666);
        FILE *file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
#endif
        if (file) {
            PartDescriptor = fd;
            PartPending = 1;
            return file;
        }
        int error = errno;
        if (fd >= 0) {
#ifdef _WIN32
            _close(fd);
#else
            close(fd);
#endif
            remove(TemporaryPath);
        }
        if (fd >= 0 || error != EEXIST) break;
    }
    TemporaryPath[0] = 0;
    return nullptr;
}

static int WritingDevice;   // the file begun is a character device, written directly

FILE *BeginReplacing(const char *path) {
    WritingDevice = 0;
    if (path[0] == 0) return Refuse("the output file has no name"), nullptr;
    struct stat status;
    if (stat(path, &status) == 0) {
        if (S_ISDIR(status.st_mode)) return Refuse("%s is a folder; give a file name", path), nullptr;
        // A device is written straight into: there is no file to keep, and renaming over
        // it would remove the device.
        if (S_ISCHR(status.st_mode)) {
            FILE *file = fopen(path, "wb");
            if (!file) Refuse("cannot write %s: %s", path, strerror(errno));
            WritingDevice = file != nullptr;
            return file;
        }
        if (!S_ISREG(status.st_mode))
            return Refuse("%s is not a file but a pipe, socket or device; give a file name", path), nullptr;
    }
    InstallInterruptHandlers();
    FILE *file = CreateTemporary(path);
    if (!file) Refuse("cannot write %s: %s (is its folder there and writable?)", path, strerror(errno));
    return file;
}

int FinishReplacing(const char *path, FILE *file, int written) {
    int closed = fclose(file) == 0;
    PartDescriptor = -1;
    if (!closed && written) written = Refuse("cannot write %s (is there room?)", path);
    if (WritingDevice) return written;
    if (!written) {
        remove(TemporaryPath);
        PartPending = 0;
        return 0;
    }
    // std::filesystem::rename replaces an existing file on Windows too.
    std::error_code error;
    std::filesystem::rename(HostPath(TemporaryPath), HostPath(path), error);
    if (error) remove(TemporaryPath);
    PartPending = 0;
    if (error) return Refuse("cannot replace %s: %s", path, error.message().c_str());
    return 1;
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
