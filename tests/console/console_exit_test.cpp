// Ending the program through its console window, checked on the built quorvel.exe run as
// a child process: ending it here would end the test program too.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "window_checks.h"

namespace {

// The program's path as Windows sees it; a Unix path is reached through drive Z: under Wine.
std::string ProgramPath() {
    std::string path = QUORVEL_EXE;
    if (!path.empty() && path[0] == '/') {
        for (char &c : path) if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    return path;
}

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
        std::string path = ProgramPath();
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child = {};
        ASSERT_TRUE(CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &child))
            << path;
        HWND console = WaitForConsole(child.dwProcessId);
        EXPECT_NE(console, nullptr);
        // Other keys do nothing.
        PostMessageA(console, WM_KEYDOWN, 'A', 0);
        PostMessageA(console, c.message, c.wParam, 0);
        DWORD waited = WaitForSingleObject(child.hProcess, 30000);
        EXPECT_EQ(waited, WAIT_OBJECT_0);
        DWORD status = 12345;
        GetExitCodeProcess(child.hProcess, &status);
        EXPECT_EQ(status, 0u);
        if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
}

}  // namespace
