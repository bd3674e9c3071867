// What the tool's outputs' replacement (teaching/file_replacement.cpp, which holds it)
// shares with the tool's file operations (teaching/file_operations.cpp).
#pragma once
#include <signal.h>

// The tool's temporary file is kept open from its exclusive creation on, so that nothing
// put in its name's place meanwhile is ever written.
extern int PartDescriptor;                  // the temporary's descriptor, or -1
const int RenameFailureBytes = 256;
extern char RenameFailure[RenameFailureBytes];   // why the last RenameOver failed
extern volatile sig_atomic_t PartPending;   // ReplacementPath names a file of this run
