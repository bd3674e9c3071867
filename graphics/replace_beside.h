// Replacing a file without harming it: the new file is written beside the target under
// a temporary name, created exclusively, and renamed over the target once it is whole.
// The program's saves and the data tool's outputs both go this way; each has its own
// body of the few file operations below (the program's takes Windows' ANSI paths, the
// tool's UTF-8 ones through the C runtime).
#pragma once

const int ReplacementPathBytes = 8192;   // the target's folder and the temporary name
extern char ReplacementPath[ReplacementPathBytes];  // the file to write: the temporary, or the target itself
extern int ReplacementInPlace;            // the target is a device, written directly
extern int ReplacementRefusal;            // why the last BeginReplacement refused (a TargetKind)

// What the body finds at a target, and why a replacement cannot begin.
const int TargetAbsent = 0;       // nothing there yet
const int TargetFile = 1;         // a file, to be replaced
const int TargetMadeEmpty = 2;    // was absent and the body created it, empty, to try it
const int TargetDevice = 3;       // written directly: no file to keep, and a rename would remove the device
const int TargetFolder = 4;       // refused
const int TargetSpecial = 5;      // a pipe, socket or block device: refused
const int TargetUnwritable = 6;   // the body cannot write it: refused
const int NoTemporary = 7;        // no temporary file could be created beside the target

// Makes ready to write target: ReplacementPath then names the file to write, which exists,
// empty. Returns 1, or 0 with ReplacementRefusal set and nothing left behind.
int BeginReplacement(const char *target);

// Puts the written file in the target's place, or removes it when written is 0. Returns
// 1 when the target now holds the whole new file; otherwise the target is as it was
// before (a device aside).
int FinishReplacement(const char *target, int written);

// ---- The body's file operations ----
extern const int LongestWritablePath;     // bytes of a path the body can name, its end included
int ExamineTarget(const char *target);    // a TargetKind up to TargetUnwritable
int CreateNewFile(const char *path);      // 1 made, 0 the name is taken, -1 it cannot be made
int RenameOver(const char *from, const char *to);   // 1 when to now holds from
void RemoveFile(const char *path);
const char *NextCharacter(const char *p); // a path is walked by characters, not bytes
