// One step of the message loop for code that works for long without waiting.
#include <windows.h>

#include "app/window_side.h"

void PumpMessage() {
    MSG message;
    if (!PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE)) return;
    // 0 is the quit request, which is taken and dropped; -1 would be an error.
    if (GetMessageA(&message, NULL, 0, 0) <= 0) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}
