// The program's body of the file operations of a replacement, on Windows' ANSI paths.
// The target itself must be writable (or creatable) before anything is written, so a
// name that cannot be a file or a file that refuses writing is refused at once.
#include "graphics/safe_save.h"

#include <windows.h>

#include "app/window_side.h"

const int LongestWritablePath = PathBytes;

int ExamineTarget(const char *target) {
    HANDLE file = CreateFileA(target, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return TargetUnwritable;
    int created = GetLastError() != ERROR_ALREADY_EXISTS;
    int device = GetFileType(file) != FILE_TYPE_DISK;
    CloseHandle(file);
    if (device) return TargetDevice;
    return created ? TargetMadeEmpty : TargetFile;
}

int CreateNewFile(const char *path) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return 1;
    }
    return GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS ? 0 : -1;
}

int RenameOver(const char *from, const char *to) { return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0; }

void RemoveFile(const char *path) { DeleteFileA(path); }

const char *NextCharacter(const char *p) { return CharNextA(p); }
