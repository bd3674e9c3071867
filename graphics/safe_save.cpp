// A save writes a fresh file in the target's folder and renames it over the target once
// every byte is written, so that a full disk or a failed write leaves an existing file
// as it was. Devices (the target is no disk file) are written directly: there is no
// file to keep, and renaming over one would remove the device.
#include "graphics/safe_save.h"

#include <stdio.h>
#include <windows.h>

char SaveWritePath[PathBytes];  // where the save under way writes
int SaveInPlace = 0;            // the target is a device, written directly
static int TargetCreated = 0;   // the target did not exist: the save made it, empty

const int TemporaryNamesTried = 256;   // "~qv00" to "~qvff"
const char TemporaryPrefix[] = "~qv";  // with two hex digits: as short as a file name gets

// Bytes of target up to and including its last folder separator. Walked by characters:
// a double-byte character's second byte may equal the separator's.
static int FolderLength(const char *target) {
    int length = 0;
    for (const char *p = target; *p != '\0'; p = CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':') length = (int)(p - target) + 1;
    return length;
}

// Creates an empty file under a name of its own in the target's folder.
static int CreateTemporary(const char *target) {
    int folder = FolderLength(target);
    if (folder + (int)sizeof TemporaryPrefix + 2 > PathBytes) return 0;  // no room for the name
    for (int n = 0; n < TemporaryNamesTried; n++) {
        snprintf(SaveWritePath, PathBytes, "%.*s%s%02x", folder, target, TemporaryPrefix, n);
        HANDLE file = CreateFileA(SaveWritePath, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return 1;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    SaveWritePath[0] = '\0';
    return 0;
}

int BeginSave(const char *target) {
    // The target itself must be writable (or creatable) before anything is written, so a
    // name that cannot be a file or a file that refuses writing is refused at once.
    HANDLE file = CreateFileA(target, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    TargetCreated = GetLastError() != ERROR_ALREADY_EXISTS;
    SaveInPlace = GetFileType(file) != FILE_TYPE_DISK;
    CloseHandle(file);
    if (SaveInPlace) {
        lstrcpynA(SaveWritePath, target, PathBytes);
        return 1;
    }
    if (CreateTemporary(target)) return 1;
    if (TargetCreated) DeleteFileA(target);
    return 0;
}

int FinishSave(const char *target, int written) {
    if (SaveInPlace) return written;
    if (written && MoveFileExA(SaveWritePath, target, MOVEFILE_REPLACE_EXISTING)) return 1;
    DeleteFileA(SaveWritePath);
    if (TargetCreated) DeleteFileA(target);
    return 0;
}
