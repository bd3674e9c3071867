#include "app/dialogue_driver.h"

#include <stdio.h>
#include <string.h>

char DriverLines[DriverLineMax][DriverLineBytes];
int DriverLineCount;
char DriverFailure[512];

static PROCESS_INFORMATION Program;   // the running quorvel.exe
static HWND ProgramConsole;           // its console window
static char WorkFolder[MAX_PATH];     // Windows path of the program's working folder
static int TextSerial;                // numbers the console-text files, so none exists yet

const int PollMs = 50;                // how often a wait looks again
const int FileNameBox = 0x47c;        // the file dialog's file-name combo box
const int MessageTextId = 0xFFFF;     // a message box's text control

static void Fail(const char *what, const char *detail) {
    snprintf(DriverFailure, sizeof DriverFailure, "%s%s%s", what, detail ? ": " : "", detail ? detail : "");
}

void WindowsPath(const char *unixPath, char *out, int outBytes) {
    snprintf(out, outBytes, "Z:%s", unixPath);
    for (char *p = out; *p; ++p)
        if (*p == '/') *p = '\\';
}

// A top-level window of the program with this class (and, if given, this caption).
struct WindowQuery {
    const char *className;
    const char *caption;
    int fileDialog;   // 1: must have the file-name box; 0: must not; -1: either
    HWND skip;        // a window that does not count, or null
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    WindowQuery *query = (WindowQuery *)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != Program.dwProcessId || !IsWindowVisible(window) || window == query->skip) return TRUE;
    char name[64];
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, query->className) != 0) return TRUE;
    if (query->caption) {
        char caption[256];
        GetWindowTextA(window, caption, sizeof caption);
        if (strcmp(caption, query->caption) != 0) return TRUE;
    }
    if (query->fileDialog >= 0 && (GetDlgItem(window, FileNameBox) != NULL) != (query->fileDialog == 1))
        return TRUE;
    query->found = window;
    return FALSE;
}

static HWND WaitForWindow(const char *className, const char *caption, int fileDialog, HWND skip, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += PollMs) {
        WindowQuery query = {className, caption, fileDialog, skip, NULL};
        EnumWindows(MatchWindow, (LPARAM)&query);
        if (query.found) return query.found;
        if (WaitForSingleObject(Program.hProcess, 0) == WAIT_OBJECT_0) return NULL;
        Sleep(PollMs);
    }
    return NULL;
}

static void WaitUntilGone(HWND window, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs && IsWindow(window); waited += PollMs) Sleep(PollMs);
}

int StartProgram(const char *exePath, const char *workDir) {
    char exe[MAX_PATH];
    WindowsPath(exePath, exe, sizeof exe);
    WindowsPath(workDir, WorkFolder, sizeof WorkFolder);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe, NULL, NULL, NULL, FALSE, 0, NULL, WorkFolder, &startup, &Program)) {
        Fail("cannot start", exe);
        return 0;
    }
    ProgramConsole = WaitForWindow("Application", "Quorvel", -1, NULL, 30000);
    if (!ProgramConsole) Fail("no console window titled Quorvel", NULL);
    return ProgramConsole != NULL;
}

long WaitForExit(int timeoutMs) {
    if (WaitForSingleObject(Program.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(Program.hProcess, &code);
    return (long)code;
}

void KillProgram() {
    if (Program.hProcess && WaitForSingleObject(Program.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(Program.hProcess, 99);
}

void TypeLine(const char *text) {
    for (const char *p = text; *p; ++p) PostMessageA(ProgramConsole, WM_CHAR, (unsigned char)*p, 0);
    PostMessageA(ProgramConsole, WM_CHAR, '\r', 0);
}

void TypeCodes(const unsigned char *codes, int count) {
    for (int i = 0; i < count; ++i) PostMessageA(ProgramConsole, WM_CHAR, codes[i], 0);
}

void PostToConsole(UINT message, WPARAM wParam) {
    PostMessageA(ProgramConsole, message, wParam, 0);
}

int ProgramRunning() {
    return Program.hProcess && WaitForSingleObject(Program.hProcess, 0) != WAIT_OBJECT_0;
}

HWND WaitForFileDialog(HWND other, int timeoutMs) {
    return WaitForWindow("#32770", NULL, 1, other, timeoutMs);
}

void SubmitFileDialog(HWND dialog, const char *path) {
    if (path[0]) {
        SetDlgItemTextA(dialog, FileNameBox, path);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    } else {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

int AnswerFileDialog(const char *path, int timeoutMs) {
    HWND dialog = WaitForFileDialog(NULL, timeoutMs);
    if (!dialog) {
        Fail("no file dialog appeared", path);
        return 0;
    }
    SubmitFileDialog(dialog, path);
    WaitUntilGone(dialog, timeoutMs);
    return 1;
}

int AnswerMessageBox(const char *caption, char *text, int textBytes, int button, int timeoutMs) {
    HWND box = WaitForWindow("#32770", caption, 0, NULL, timeoutMs);
    if (!box) {
        Fail("no message box appeared", caption);
        return 0;
    }
    if (text) GetDlgItemTextA(box, MessageTextId, text, textBytes);
    PostMessageA(box, WM_COMMAND, button, 0);
    WaitUntilGone(box, timeoutMs);
    return 1;
}

static int ReadLines(const char *path) {
    FILE *file = fopen(path, "rb");
    if (!file) {
        Fail("cannot read the saved console text", path);
        return 0;
    }
    DriverLineCount = 0;
    char line[1024];
    while (DriverLineCount < DriverLineMax && fgets(line, sizeof line, file)) {
        size_t n = strlen(line);
        if (n < 2 || line[n - 2] != '\r' || line[n - 1] != '\n') {
            fclose(file);
            Fail("a saved console line does not end in CR LF", line);
            return 0;
        }
        line[n - 2] = 0;
        snprintf(DriverLines[DriverLineCount++], DriverLineBytes, "%s", line);
    }
    fclose(file);
    return 1;
}

// Chooses a menu save command, answers its save dialog with path and checks its report.
static int RunSaveCommand(int command, const char *path, const char *report) {
    PostMessageA(ProgramConsole, WM_COMMAND, command, 0);
    return AnswerSave(path, report);
}

int AnswerSave(const char *path, const char *report) {
    if (!AnswerFileDialog(path, 120000)) return 0;
    char text[256] = "";
    if (!AnswerMessageBox("Tesmira Message", text, sizeof text, IDOK, 30000)) return 0;
    if (strcmp(text, report) != 0) {
        Fail("unexpected message after saving", text);
        return 0;
    }
    return 1;
}

int ReadConsoleText() {
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s\\console_%04d.txt", WorkFolder, ++TextSerial);
    if (!RunSaveCommand(6, path, "Saved TextBuffer")) return 0;
    int ok = ReadLines(path);
    DeleteFileA(path);
    return ok;
}

int WaitForPrompt(const char *lastLine, const char *lineBefore, int timeoutMs) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start <= (DWORD)timeoutMs) {
        if (!ReadConsoleText()) return 0;
        int n = DriverLineCount;
        if (n >= 1 && strcmp(DriverLines[n - 1], lastLine) == 0 &&
            (!lineBefore || (n >= 2 && strcmp(DriverLines[n - 2], lineBefore) == 0)))
            return 1;
        Sleep(200);
    }
    Fail("the question never came", lastLine);
    return 0;
}

int SaveGraphic(const char *path) {
    return RunSaveCommand(7, path, " Saved Graphic ");
}
