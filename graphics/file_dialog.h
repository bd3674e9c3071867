// The open and save dialogs; all of them share one path and one title buffer.
#pragma once
#include "app/window_side.h"

extern char DialogPath[PathBytes];   // last chosen full path; every dialog opens with it
extern char DialogTitle[PathBytes];  // last chosen file name without its folder
