// A program that waits for an answer, as the real one does, while the console's menu
// or the graphics window's Escape ends it. Status 0 can only come from the program's
// exit path: 3 means the wait returned, 4 that nothing ended it in time, 5 that the
// end question was answered with Cancel and the program went on waiting.
#include <windows.h>

#include <string>

#include "app/window_side.h"
#include "console/console_window.h"
#include "console/input_line.h"
#include "console/menu_commands.h"
#include "tools/program_driver/dialogue_driver.h"

namespace {

// Long enough for Wine on a loaded machine to open the menu and the box; a Cancel is
// known to have kept the program waiting once it has waited a while after the box.
const UINT TimeLimitMs = 90000;
const UINT WaitAfterCancelMs = 2000;
const UINT PollMs = 100;
const int ExitItem = 7;  // "  &Exit " among the menu's selectable items

void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
    std::vector<ModalSeen> seen = FinishModalScript();
    bool cancelled = seen.size() == 2 && seen[0].kind == ModalMenu && seen[1].caption == "EXIT?";
    ExitProcess(cancelled ? 5 : 4);
}

// Once both steps of the Cancel script are taken, the program has a while to end wrongly.
void CALLBACK WatchCancel(HWND, UINT, UINT_PTR, DWORD) {
    static bool armed = false;
    if (!armed && ModalStepsTaken() >= 2) {
        armed = true;
        SetTimer(NULL, 0, WaitAfterCancelMs, GiveUp);
    }
}

void RightClick() {
    PostMessageA(ConsoleWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 20));
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    if (!InitWindows(GetModuleHandleA(NULL), SW_SHOWNORMAL)) return 2;
    SetTimer(NULL, 0, TimeLimitMs, GiveUp);
    std::string mode = argv[1];
    if (mode == "menu-exit") {
        StartModalScript({PickMenuItem(ExitItem), AnswerBox(IDOK)});
        RightClick();
    } else if (mode == "menu-cancel") {
        StartModalScript({PickMenuItem(ExitItem), AnswerBox(IDCANCEL)});
        SetTimer(NULL, 0, PollMs, WatchCancel);
        RightClick();
    } else if (mode == "graphics-escape") {
        GraphicsOpen();
        PostMessageA(GraphicsWindow, WM_KEYDOWN, VK_ESCAPE, 1);
    } else {
        return 2;
    }
    int answer = 0;
    ConsoleScan("%d", &answer);
    return 3;
}
