// Saving without harming the file being replaced: the new file is written beside the
// target under a temporary name and takes the target's place only once it is whole.
#pragma once
#include "app/window_side.h"

// What a save that cannot write its file says. The stray "n" is the program's own
// wording, which users and their notes know: kept on purpose.
const char SaveFailedMessage[] = "Failed to nopen file.";

extern char SaveWritePath[PathBytes];  // where the save under way writes
extern int SaveInPlace;                // the target is a device, written directly

// Chooses where to write the file for target and creates it there, empty. Returns 0
// when no file can be created there; nothing is then left behind.
int BeginSave(const char *target);

// Puts the written file in the target's place, or removes it when written is 0.
// Returns 1 when the target now holds the whole new file; otherwise the target is as
// it was before the save (a device aside).
int FinishSave(const char *target, int written);
