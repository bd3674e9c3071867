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
