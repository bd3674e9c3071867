// Shared by the window tests: the console started once per test program, as the program
// starts it (never destroyed here: destroying it ends the process), message pumping, and
// what a window says about itself.
#pragma once
#include <windows.h>

#include <string>

#include "console/console_window.h"

inline bool StartConsole() {
    static int started = InitWindows(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    return started == 1;
}

// Handles this thread's messages until `done` holds or `milliseconds` have passed.
template <typename Condition>
bool PumpUntil(Condition done, DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
}

inline std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

inline std::string TitleOf(HWND window) {
    char title[128] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}
