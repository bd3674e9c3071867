#include "support/test_windows.h"

#include <stdio.h>
#include <stdlib.h>

#include "console/console_window.h"

void EnsureWindows() {
    static int started = 0;
    if (started) return;
    started = InitWindows(GetModuleHandleA(NULL), SW_SHOWNORMAL);
    if (started) return;
    fprintf(stderr, "the windows could not be created; is a display set?\n");
    exit(2);
}

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool Uncovered(HWND window) {
    if (!IsWindowVisible(window) || IsIconic(window)) return false;
    RECT client;
    GetClientRect(window, &client);
    const int step = 40;  // finer than any window or box that could cover it
    for (int y = client.top; y < client.bottom + step; y += step)
        for (int x = client.left; x < client.right + step; x += step) {
            POINT p = {x < client.right ? x : client.right - 1, y < client.bottom ? y : client.bottom - 1};
            ClientToScreen(window, &p);
            if (WindowFromPoint(p) != window) return false;
        }
    return true;
}

bool ShowUncovered(HWND window) {
    const DWORD waitMs = 30000, pollMs = 20;  // a loaded machine may take seconds to map a window
    if (!IsWindowVisible(window) || IsIconic(window)) ShowWindow(window, SW_SHOWNORMAL);
    DWORD start = GetTickCount();
    for (;;) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        UpdateWindow(window);
        DrainMessages();
        if (Uncovered(window)) return true;
        if (GetTickCount() - start >= waitMs) return false;
        Sleep(pollMs);
    }
}

std::string FreshTempPath(const char *name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "quorvel_" + std::to_string(GetCurrentProcessId()) +
                       "_" + name;
    DeleteFileA(path.c_str());
    return path;
}

std::string ReadWholeFile(const std::string &path, bool *exists) {
    std::string bytes;
    FILE *file = fopen(path.c_str(), "rb");
    if (exists) *exists = file != nullptr;
    if (!file) return bytes;
    char block[65536];
    size_t got;
    while ((got = fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    fclose(file);
    return bytes;
}

void WriteWholeFile(const std::string &path, const std::string &bytes) {
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

int CountPixelsNot(HDC dc, RECT area, COLORREF color) {
    int count = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            if (GetPixel(dc, x, y) != color) count++;
    return count;
}
