#include "tools/program_driver/dialogue_driver.h"

#include <stdio.h>
#include <string.h>

#include "recon/dialogue_prompts.h"

char DriverLines[DriverLineMax][DriverLineBytes];
char DriverFailure[512];
int DriverLineCount;

static PROCESS_INFORMATION Program;   // the running quorvel.exe
static HWND ProgramConsole;           // its console window
static std::string WorkFolder;        // Windows path of the program's working folder
static int TextSerial;                // numbers the console-text files, so none exists yet

const int PollMs = 50;                // how often a wait for another process looks again
const int FileNameBox = 0x47c;        // the file dialogs' file-name combo box
const int ConsoleTextCommand = 6;     // the menu's " Save TextBuffer File"
const int GraphicCommand = 7;         // the menu's " Save Graphic File"
const int SaveDialogTimeoutMs = 120000;
const int ReportTimeoutMs = 30000;
const int FirstPromptPauseMs = 100;   // between the first looks for a question
const int LastPromptPauseMs = 800;    // between later ones

// ---- What every answer needs to know of the program's windows ----

static std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A top-level window's title, read without a message, so a busy program cannot hold
// the driver up.
static std::string CaptionOf(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A control's text. WM_GETTEXT reads a control of another process too, which
// GetWindowText does not; controls are read only in dialogs, whose modal loops answer.
static std::string TextOf(HWND control) {
    char text[1024] = "";
    SendMessageA(control, WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

static ModalKind KindOf(HWND window) {
    if (ClassOf(window) == "#32768") return ModalMenu;
    return GetDlgItem(window, FileNameBox) != NULL ? ModalFileDialog : ModalMessageBox;
}

static BOOL CALLBACK TakeStaticText(HWND child, LPARAM text) {
    std::string own = TextOf(child);
    if (ClassOf(child) == "Static" && !own.empty()) *(std::string *)text = own;
    return TRUE;
}

// A message box's text is its static control with text; the icon's has none.
static std::string BoxMessage(HWND box) {
    std::string message;
    EnumChildWindows(box, TakeStaticText, (LPARAM)&message);
    return message;
}

static void Press(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(dialog, button));
}

static void Key(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

void SubmitFileDialog(HWND dialog, const char *path) {
    if (path[0] == '\0') {
        Press(dialog, IDCANCEL);
        return;
    }
    SetDlgItemTextA(dialog, FileNameBox, path);
    Press(dialog, IDOK);
}

// ---- Paths and processes ----

std::string WinePath(const char *hostPath) {
    if (hostPath[0] != '/') return hostPath;
    std::string path = std::string("Z:") + hostPath;
    for (char &c : path)
        if (c == '/') c = '\\';
    return path;
}

int StartProcess(const char *program, const char *arguments, const char *workDir, PROCESS_INFORMATION *process) {
    std::string command = "\"" + WinePath(program) + "\"";
    if (arguments) command += std::string(" ") + arguments;
    std::string folder = workDir ? WinePath(workDir) : "";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    ZeroMemory(process, sizeof *process);
    return CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, workDir ? folder.c_str() : NULL,
                          &startup, process) != 0;
}

long FinishProcess(PROCESS_INFORMATION *process, int timeoutMs) {
    long status = -1;
    if (WaitForSingleObject(process->hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process->hProcess, &code);
        status = (long)code;
    } else {
        TerminateProcess(process->hProcess, 998);
    }
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
    ZeroMemory(process, sizeof *process);
    return status;
}

// ---- The program as another process ----

static void Fail(const char *what, const char *detail) {
    snprintf(DriverFailure, sizeof DriverFailure, "%s%s%s", what, detail ? ": " : "", detail ? detail : "");
}

// A visible top-level window of the program with this class (and, if given, this caption).
struct WindowQuery {
    const char *className;
    const char *caption;
    int fileDialog;   // 1: must be a file dialog; 0: must not; -1: either
    HWND skip;        // a window that does not count, or null
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    WindowQuery *query = (WindowQuery *)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != Program.dwProcessId || !IsWindowVisible(window) || window == query->skip) return TRUE;
    if (ClassOf(window) != query->className) return TRUE;
    if (query->caption && CaptionOf(window) != query->caption) return TRUE;
    if (query->fileDialog >= 0 && (KindOf(window) == ModalFileDialog) != (query->fileDialog == 1)) return TRUE;
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
    WorkFolder = WinePath(workDir);
    if (!StartProcess(exePath, NULL, workDir, &Program)) {
        Fail("cannot start", WinePath(exePath).c_str());
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
    if (text) snprintf(text, textBytes, "%s", BoxMessage(box).c_str());
    Press(box, button);
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

int AnswerSave(const char *path, const char *report) {
    if (!AnswerFileDialog(path, SaveDialogTimeoutMs)) return 0;
    char text[256] = "";
    if (!AnswerMessageBox("Tesmira Message", text, sizeof text, IDOK, ReportTimeoutMs)) return 0;
    if (strcmp(text, report) != 0) {
        Fail("unexpected message after saving", text);
        return 0;
    }
    return 1;
}

int ReadConsoleText() {
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s\\console_%04d.txt", WorkFolder.c_str(), ++TextSerial);
    PostToConsole(WM_COMMAND, ConsoleTextCommand);
    if (!AnswerSave(path, "Saved TextBuffer")) return 0;
    int ok = ReadLines(path);
    DeleteFileA(path);
    return ok;
}

int WaitForPrompt(const char *lastLine, const char *lineBefore, int timeoutMs) {
    // Each look saves the console text through the program's own menu, a dialog and a
    // box: the looks grow sparser while a long step runs, so as not to slow it down.
    DWORD start = GetTickCount();
    int pause = FirstPromptPauseMs;
    while (GetTickCount() - start <= (DWORD)timeoutMs) {
        if (!ReadConsoleText()) return 0;
        int n = DriverLineCount;
        if (n >= 1 && strcmp(DriverLines[n - 1], lastLine) == 0 &&
            (!lineBefore || (n >= 2 && strcmp(DriverLines[n - 2], lineBefore) == 0)))
            return 1;
        Sleep(pause);
        if (pause < LastPromptPauseMs) pause *= 2;
    }
    Fail("the question never came", lastLine);
    return 0;
}

// The prompt's last line, and the line before it; that one is waited for too when it
// says anything and is no format's.
static int PromptLines(const char *prompt, std::string *last, std::string *before) {
    std::string text = prompt;
    size_t end = text.rfind('\n');
    *last = end == std::string::npos ? text : text.substr(end + 1);
    std::string head = end == std::string::npos ? "" : text.substr(0, end);
    size_t start = head.rfind('\n');
    *before = start == std::string::npos ? head : head.substr(start + 1);
    return before->find_first_not_of(' ') != std::string::npos && before->find('%') == std::string::npos;
}

int AwaitPrompt(const char *prompt, const char *answer, int timeoutMs) {
    std::string last, before;
    int hasBefore = PromptLines(prompt, &last, &before);
    if (!WaitForPrompt(last.c_str(), hasBefore ? before.c_str() : NULL, timeoutMs)) return 0;
    if (answer) TypeLine(answer);
    return 1;
}

int WalkDialogue(const DialogueStep *steps, int count, int timeoutMs, void (*atPrompt)(int prompt)) {
    for (int i = 0; i < count; i++) {
        if (!AwaitPrompt(DialoguePrompts[steps[i].prompt], NULL, timeoutMs)) return 0;
        if (atPrompt) atPrompt(steps[i].prompt);
        if (steps[i].answer) TypeLine(steps[i].answer);
        if (steps[i].file && !AnswerFileDialog(steps[i].file, timeoutMs)) return 0;
    }
    return 1;
}

int SaveGraphic(const char *path) {
    PostToConsole(WM_COMMAND, GraphicCommand);
    return AnswerSave(path, " Saved Graphic ");
}

// ---- The windows of this program: a script answered from a thread timer ----

const UINT TickMs = 40;                // timer period
const int TicksBeforeGivingUp = 500;
const int SettleTicks = 2;             // a new window is answered once it has been up this long

static std::vector<ModalStep> Steps;
static std::vector<ModalSeen> Seen;
static size_t NextStep = 0;
static UINT_PTR Timer = 0;
static int IdleTicks = 0;
static HWND LastWindow = NULL;         // the window seen on the previous tick
static RECT LastRect;                  // where it stood then
static int SameWindowTicks = 0;        // ticks that window has stood there, drawn
static HWND AnsweredWindow = NULL;     // each window is answered once

static BOOL CALLBACK TakeModal(HWND window, LPARAM found) {
    std::string name = ClassOf(window);
    if ((name == "#32770" || name == "#32768") && IsWindowVisible(window) && IsWindowEnabled(window)) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

// The modal window of this thread that takes input now: the enabled dialog, box or menu.
static HWND FindModal() {
    HWND found = NULL;
    EnumThreadWindows(GetCurrentThreadId(), TakeModal, (LPARAM)&found);
    return found;
}

static void Dismiss(HWND window) {
    if (KindOf(window) == ModalMenu) Key(window, VK_ESCAPE);
    else Press(window, IDCANCEL);
}

static void Answer(HWND window, const ModalStep &step, ModalSeen &seen) {
    switch (step.kind) {
    case ModalMessageBox:
        seen.text = BoxMessage(window);
        Press(window, step.answer);
        break;
    case ModalFileDialog:
        seen.text = TextOf(GetDlgItem(window, FileNameBox));
        SubmitFileDialog(window, step.answer == IDOK ? step.path : "");
        break;
    case ModalMenu:
        Key(window, step.answer == 0 ? VK_ESCAPE : VK_RETURN);
        break;
    }
}

// Position of the menu item that selectable item n (separators not counted) stands at,
// and of the highlighted item; -1 when there is none.
static int PositionOfSelectable(HMENU menu, int n) {
    for (int position = 0; position < GetMenuItemCount(menu); position++)
        if (!(GetMenuState(menu, position, MF_BYPOSITION) & MF_SEPARATOR) && n-- == 0) return position;
    return -1;
}

static int HighlightedPosition(HMENU menu) {
    for (int position = 0; position < GetMenuItemCount(menu); position++)
        if (GetMenuState(menu, position, MF_BYPOSITION) & MF_HILITE) return position;
    return -1;
}

// Moves a menu's highlight one item down a tick until it stands on the step's item, so
// that no key is lost to a menu still settling on a busy machine. Returns 1 once there.
static int OnMenuItem(HWND window, const ModalStep &step) {
    if (step.answer == 0) return 1;
    HMENU menu = (HMENU)SendMessageA(window, MN_GETHMENU, 0, 0);
    int target = PositionOfSelectable(menu, step.answer - 1);
    if (menu == NULL || target < 0 || HighlightedPosition(menu) == target) return 1;
    Key(window, VK_DOWN);
    return 0;
}

static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    // A window counts as settled once it has kept one place and a size for a few ticks:
    // on a busy machine a menu is shown before it is sized and placed.
    HWND window = FindModal();
    RECT rect = {0, 0, 0, 0};
    if (window) GetWindowRect(window, &rect);
    int steady = window != NULL && window == LastWindow && rect.right > rect.left && rect.bottom > rect.top &&
                 EqualRect(&rect, &LastRect);
    SameWindowTicks = steady ? SameWindowTicks + 1 : 0;
    if (window != LastWindow) AnsweredWindow = NULL;   // a window gone frees its handle
    LastWindow = window;
    LastRect = rect;
    if (NextStep < Steps.size()) IdleTicks++;
    if (IdleTicks > TicksBeforeGivingUp) {
        ModalSeen seen = {Steps[NextStep].kind, "timeout", "", {0, 0, 0, 0}};
        Seen.push_back(seen);
        NextStep = Steps.size();
        if (window) Dismiss(window);
        return;
    }
    if (window == NULL || window == AnsweredWindow || SameWindowTicks < SettleTicks) return;
    if (KindOf(window) == ModalMenu && NextStep < Steps.size() && Steps[NextStep].kind == ModalMenu &&
        !OnMenuItem(window, Steps[NextStep]))
        return;
    AnsweredWindow = window;
    ModalSeen seen = {KindOf(window), CaptionOf(window), "", rect};
    if (NextStep >= Steps.size() || Steps[NextStep].kind != seen.kind) {
        seen.text = seen.kind == ModalMessageBox ? BoxMessage(window) : "";
        seen.caption = "unexpected " + seen.caption;
        Seen.push_back(seen);
        Dismiss(window);
        return;
    }
    Answer(window, Steps[NextStep], seen);
    Seen.push_back(seen);
    NextStep++;
    IdleTicks = 0;
}

void StartModalScript(const std::vector<ModalStep> &steps) {
    Steps = steps;
    Seen.clear();
    NextStep = 0;
    IdleTicks = 0;
    LastWindow = NULL;
    SetRectEmpty(&LastRect);
    SameWindowTicks = 0;
    AnsweredWindow = NULL;
    Timer = SetTimer(NULL, 0, TickMs, Tick);
}

std::vector<ModalSeen> FinishModalScript() {
    KillTimer(NULL, Timer);
    Timer = 0;
    for (size_t i = NextStep; i < Steps.size(); i++) {
        ModalSeen missing = {Steps[i].kind, "never opened", "", {0, 0, 0, 0}};
        Seen.push_back(missing);
    }
    return Seen;
}

size_t ModalStepsTaken() { return NextStep; }

ModalStep AnswerBox(int answer) { return ModalStep{ModalMessageBox, answer, nullptr}; }
ModalStep ChooseFile(const char *path) { return ModalStep{ModalFileDialog, IDOK, path}; }
ModalStep CancelFileDialog() { return ModalStep{ModalFileDialog, IDCANCEL, nullptr}; }
ModalStep CloseMenu() { return ModalStep{ModalMenu, 0, nullptr}; }
ModalStep PickMenuItem(int selectable) { return ModalStep{ModalMenu, selectable + 1, nullptr}; }
