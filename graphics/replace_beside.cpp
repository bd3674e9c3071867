#include "graphics/replace_beside.h"

#include <stdio.h>
#include <string.h>

char ReplacementPath[ReplacementPathBytes];  // the file to write: the temporary, or the target itself
int ReplacementInPlace = 0;                  // the target is a device, written directly
int ReplacementRefusal = TargetAbsent;       // why the last BeginReplacement refused
static int TargetMade = 0;                   // the body created the target, empty: removed on failure

const int TemporaryNamesTried = 256;   // "~qv00" to "~qvff"
const char TemporaryPrefix[] = "~qv";  // with two hex digits: as short as a file name gets

// Bytes of target up to and including its last folder separator. Walked by characters:
// a double-byte character's second byte may equal the separator's.
static int FolderLength(const char *target) {
    int length = 0;
    for (const char *p = target; *p != '\0'; p = NextCharacter(p))
        if (*p == '\\' || *p == '/' || *p == ':') length = (int)(p - target) + 1;
    return length;
}

// Creates an empty file under a name of its own in the target's folder. A name already
// there, a link included, is never used.
static int CreateTemporary(const char *target) {
    int folder = FolderLength(target);
    int longest = LongestWritablePath < ReplacementPathBytes ? LongestWritablePath : ReplacementPathBytes;
    if (folder + (int)sizeof TemporaryPrefix + 2 > longest) return 0;  // no room for the name
    for (int n = 0; n < TemporaryNamesTried; n++) {
        snprintf(ReplacementPath, ReplacementPathBytes, "%.*s%s%02x", folder, target, TemporaryPrefix, n);
        int made = CreateNewFile(ReplacementPath);
        if (made == 1) return 1;
        if (made < 0) break;
    }
    ReplacementPath[0] = '\0';
    return 0;
}

static int Refuse(int why) {
    ReplacementRefusal = why;
    ReplacementPath[0] = '\0';
    return 0;
}

int BeginReplacement(const char *target) {
    ReplacementInPlace = 0;
    TargetMade = 0;
    int kind = ExamineTarget(target);
    if (kind == TargetDevice) {
        if (strlen(target) >= (size_t)ReplacementPathBytes) return Refuse(TargetUnwritable);
        snprintf(ReplacementPath, ReplacementPathBytes, "%s", target);
        ReplacementInPlace = 1;
        return 1;
    }
    if (kind != TargetAbsent && kind != TargetFile && kind != TargetMadeEmpty) return Refuse(kind);
    TargetMade = kind == TargetMadeEmpty;
    if (CreateTemporary(target)) return 1;
    if (TargetMade) RemoveFile(target);
    TargetMade = 0;
    return Refuse(NoTemporary);
}

int FinishReplacement(const char *target, int written) {
    if (ReplacementInPlace) return written;
    int replaced = written && RenameOver(ReplacementPath, target);
    if (!replaced) {
        RemoveFile(ReplacementPath);
        if (TargetMade) RemoveFile(target);
    }
    TargetMade = 0;
    ReplacementPath[0] = '\0';
    return replaced;
}
