// The program's saves replace their file as graphics/replace_beside.h describes, through
// the Windows file operations of safe_save.cpp.
#pragma once
#include "graphics/replace_beside.h"

// What a save that cannot write its file says. The stray "n" is the program's own
// wording, which users and their notes know: kept on purpose.
const char SaveFailedMessage[] = "Failed to nopen file.";
