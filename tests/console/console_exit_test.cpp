// Ending the program through its console window, checked on the built quorvel.exe run as
// a child process: ending it here would end the test program too.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tools/program_driver/dialogue_driver.h"
#include "window_checks.h"

namespace console_exit_test {

namespace {

struct WindowSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindConsole(HWND window, LPARAM search) {
    WindowSearch *s = (WindowSearch *)search;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s->process || ClassOf(window) != "Application") return TRUE;
    s->found = window;
    return FALSE;
}

HWND WaitForConsole(DWORD process) {
    for (int tries = 0; tries < 300; tries++) {
        WindowSearch search = {process, nullptr};
        EnumWindows(FindConsole, (LPARAM)&search);
        if (search.found != nullptr) return search.found;
        Sleep(100);
    }
    return nullptr;
}

TEST(ConsoleExit, EscapeAndCloseEndTheProgramWithStatusZero) {
    struct Case {
        const char *name;
        UINT message;
        WPARAM wParam;
    };
    const Case cases[] = {
        {"Escape", WM_KEYDOWN, VK_ESCAPE},
        {"close box", WM_CLOSE, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PROCESS_INFORMATION child;
        ASSERT_TRUE(StartProcess(QUORVEL_EXE, nullptr, nullptr, &child)) << QUORVEL_EXE;
        HWND console = WaitForConsole(child.dwProcessId);
        EXPECT_NE(console, nullptr);
        // Other keys do nothing.
        PostMessageA(console, WM_KEYDOWN, 'A', 0);
        PostMessageA(console, c.message, c.wParam, 0);
        EXPECT_EQ(FinishProcess(&child, 30000), 0) << "-1: it did not end";
    }
}

}  // namespace

}  // namespace console_exit_test
