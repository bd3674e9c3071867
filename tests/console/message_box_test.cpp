#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/window_side.h"
#include "console/console_window.h"
#include "window_checks.h"

namespace message_box_test {

namespace {

// What the answering timer saw of the open box.
struct SeenBox {
    int found;
    std::string caption, text;
    HWND owner;
    int buttons, okButtons, icons;
    HICON icon;
};
SeenBox Seen;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    if (ClassOf(window) != "#32770" || !IsWindowVisible(window)) return TRUE;
    *(HWND *)found = window;
    return FALSE;
}

BOOL CALLBACK ReadControl(HWND control, LPARAM) {
    char name[32] = {}, text[512] = {};
    GetClassNameA(control, name, sizeof name);
    GetWindowTextA(control, text, sizeof text);
    LONG style = GetWindowLongA(control, GWL_STYLE);
    if (lstrcmpiA(name, "Button") == 0) {
        Seen.buttons++;
        if (GetDlgCtrlID(control) == IDOK) Seen.okButtons++;
    } else if (lstrcmpiA(name, "Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            Seen.icons++;
            Seen.icon = (HICON)SendMessageA(control, STM_GETICON, 0, 0);
        } else if (text[0] != '\0') {
            Seen.text = text;
        }
    }
    return TRUE;
}

// Reads the box this thread opened and presses its OK button.
VOID CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, (LPARAM)&box);
    if (box == nullptr) return;  // not open yet: look again at the next tick
    KillTimer(nullptr, id);
    Seen.found = 1;
    char caption[128] = {};
    GetWindowTextA(box, caption, sizeof caption);
    Seen.caption = caption;
    Seen.owner = GetWindow(box, GW_OWNER);
    EnumChildWindows(box, ReadControl, 0);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST(ConsoleMessageBox, ShowsTheTextWithCaptionIconAndOneButton) {
    ASSERT_TRUE(StartConsole());
    struct Case {
        const char *name;
        std::string shown;
        void (*show)();
    };
    const Case cases[] = {
        {"a text without conversions keeps its blanks", " Saved Graphic ", [] { ShowMessage(" Saved Graphic "); }},
        {"formatted values", "Read 87 slices of demo.sino",
         [] { ShowMessage("Read %d slices of %s", 87, "demo.sino"); }},
        {"a long message is cut to 259 characters", std::string(259, 'm'),
         [] { ShowMessage("%s", std::string(300, 'm').c_str()); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Seen = SeenBox{};
        UINT_PTR timer = SetTimer(nullptr, 0, 100, AnswerBox);
        c.show();
        KillTimer(nullptr, timer);
        ASSERT_EQ(Seen.found, 1);
        EXPECT_EQ(Seen.caption, "Tesmira Message");
        EXPECT_EQ(Seen.text, c.shown);
        EXPECT_EQ(Seen.owner, ConsoleWindow);
        EXPECT_EQ(Seen.buttons, 1);
        EXPECT_EQ(Seen.okButtons, 1);
        EXPECT_EQ(Seen.icons, 1);
        EXPECT_EQ(Seen.icon, LoadIconA(nullptr, IDI_INFORMATION));
    }
}

}  // namespace

}  // namespace message_box_test
