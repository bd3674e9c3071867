#include "modal_driver.h"

namespace {

const UINT TickMs = 40;           // timer period
const int TicksBeforeGivingUp = 500;
const int FileNameBox = 0x47c;    // the dialogs' file-name combo box
const int SettleTicks = 2;  // a new window is answered once it has been up this long

std::vector<ModalStep> Steps;
std::vector<ModalSeen> Seen;
size_t NextStep = 0;
UINT_PTR Timer = 0;
int IdleTicks = 0;
HWND LastWindow = NULL;   // the window seen on the previous tick
int SameWindowTicks = 0;  // ticks that window has been up

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK TakeModal(HWND window, LPARAM found) {
    std::string name = ClassOf(window);
    if ((name == "#32770" || name == "#32768") && IsWindowVisible(window) &&
        IsWindowEnabled(window)) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

// The modal window of this thread that takes input now: the enabled dialog, box or menu.
HWND FindModal() {
    HWND found = NULL;
    EnumThreadWindows(GetCurrentThreadId(), TakeModal, (LPARAM)&found);
    return found;
}

ModalKind KindOf(HWND window) {
    if (ClassOf(window) == "#32768") return ModalMenu;
    return GetDlgItem(window, FileNameBox) != NULL ? ModalFileDialog : ModalMessageBox;
}

BOOL CALLBACK TakeStaticText(HWND child, LPARAM text) {
    std::string own = TextOf(child);
    if (ClassOf(child) == "Static" && !own.empty()) *(std::string *)text = own;
    return TRUE;
}

// A message box's text is its static control with text; the icon has none.
std::string BoxMessage(HWND box) {
    std::string message;
    EnumChildWindows(box, TakeStaticText, (LPARAM)&message);
    return message;
}

void Press(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 (LPARAM)GetDlgItem(dialog, button));
}

void Key(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

void Dismiss(HWND window) {
    if (KindOf(window) == ModalMenu) {
        Key(window, VK_ESCAPE);
    } else {
        Press(window, IDCANCEL);
    }
}

void Answer(HWND window, const ModalStep &step, ModalSeen &seen) {
    switch (step.kind) {
    case ModalMessageBox:
        seen.text = BoxMessage(window);
        Press(window, step.answer);
        break;
    case ModalFileDialog: {
        char name[MAX_PATH] = "";
        GetDlgItemTextA(window, FileNameBox, name, sizeof name);
        seen.text = name;
        if (step.answer == IDOK) SetDlgItemTextA(window, FileNameBox, step.path);
        Press(window, step.answer);
        break;
    }
    case ModalMenu:
        if (step.answer == 0) {
            Key(window, VK_ESCAPE);
            break;
        }
        for (int i = 0; i < step.answer; i++) Key(window, VK_DOWN);
        Key(window, VK_RETURN);
        break;
    }
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = FindModal();
    SameWindowTicks = window != NULL && window == LastWindow ? SameWindowTicks + 1 : 0;
    LastWindow = window;
    if (NextStep < Steps.size()) IdleTicks++;
    if (IdleTicks > TicksBeforeGivingUp) {
        ModalSeen seen = {Steps[NextStep].kind, "timeout", "", {0, 0, 0, 0}};
        Seen.push_back(seen);
        NextStep = Steps.size();
        if (window) Dismiss(window);
        return;
    }
    if (window == NULL || SameWindowTicks < SettleTicks) return;
    SameWindowTicks = -1000;  // each window is answered once
    ModalSeen seen = {KindOf(window), TextOf(window), "", {0, 0, 0, 0}};
    GetWindowRect(window, &seen.rect);
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

}  // namespace

void StartModalScript(const std::vector<ModalStep> &steps) {
    Steps = steps;
    Seen.clear();
    NextStep = 0;
    IdleTicks = 0;
    LastWindow = NULL;
    SameWindowTicks = 0;
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

ModalStep AnswerBox(int answer) { return ModalStep{ModalMessageBox, answer, nullptr}; }
ModalStep ChooseFile(const char *path) { return ModalStep{ModalFileDialog, IDOK, path}; }
ModalStep CancelFileDialog() { return ModalStep{ModalFileDialog, IDCANCEL, nullptr}; }
ModalStep CloseMenu() { return ModalStep{ModalMenu, 0, nullptr}; }
ModalStep PickMenuItem(int selectable) { return ModalStep{ModalMenu, selectable + 1, nullptr}; }
