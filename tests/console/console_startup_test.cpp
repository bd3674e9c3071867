#include <gtest/gtest.h>

#include <string.h>
#include <windows.h>

#include <string>

#include "app/window_side.h"
#include "console/console_paint.h"
#include "console/console_window.h"
#include "console/input_line.h"
#include "console/text_ring.h"
#include "graphics/surface.h"
#include "window_checks.h"

namespace console_startup_test {

namespace {

class ConsoleStartup : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartConsole()); }
};

TEST_F(ConsoleStartup, RegistersBothClasses) {
    struct Case {
        const char *name;
        UINT style;
        WNDPROC procedure;
    };
    const Case cases[] = {
        {"Application", CS_HREDRAW | CS_VREDRAW, ConsoleWndProc},
        {"Graphics", CS_OWNDC | CS_NOCLOSE, GraphicsWndProc},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WNDCLASSA info = {};
        ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), c.name, &info));
        EXPECT_EQ(info.style, c.style);
        EXPECT_EQ(info.lpfnWndProc, c.procedure);
        EXPECT_EQ(info.hIcon, LoadIconA(nullptr, IDI_APPLICATION));
        EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
        EXPECT_EQ(info.hbrBackground, (HBRUSH)GetStockObject(WHITE_BRUSH));
        EXPECT_EQ(info.cbClsExtra, 0);
        EXPECT_EQ(info.cbWndExtra, 0);
        EXPECT_EQ(info.lpszMenuName, nullptr);
    }
}

TEST_F(ConsoleStartup, CreatesBothWindows) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        HWND window;
        const char *className, *title;
        DWORD styleSet, styleClear;
        RECT placed;
        BOOL visible;
    };
    // The console's scroll bar stays hidden while every line fits (the typing tests
    // see it appear).
    const Case cases[] = {
        {ConsoleWindow, "Application", "Win32 Application", WS_OVERLAPPEDWINDOW, WS_CHILD | WS_POPUP,
         {screenWidth / 2 - 240, screenHeight / 2 - 240, screenWidth / 2 + 240, screenHeight / 2 + 240}, TRUE},
        {GraphicsWindow, "Graphics", "Images", WS_SYSMENU | WS_MINIMIZEBOX,
         WS_THICKFRAME | WS_MAXIMIZEBOX | WS_VSCROLL | WS_CHILD | WS_POPUP, {100, 20, 580, 500}, FALSE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.className);
        ASSERT_NE(c.window, nullptr);
        EXPECT_EQ(ClassOf(c.window), c.className);
        EXPECT_EQ(TitleOf(c.window), c.title);
        DWORD style = (DWORD)GetWindowLongA(c.window, GWL_STYLE);
        DWORD extended = (DWORD)GetWindowLongA(c.window, GWL_EXSTYLE);
        EXPECT_EQ(style & c.styleSet, c.styleSet);
        EXPECT_EQ(style & c.styleClear, 0u);
        EXPECT_EQ(extended & ~(DWORD)WS_EX_WINDOWEDGE, 0u);  // the system adds only the edge
        EXPECT_EQ(IsWindowVisible(c.window), c.visible);
        EXPECT_EQ(GetParent(c.window), nullptr);
        EXPECT_EQ(GetWindow(c.window, GW_OWNER), nullptr);
        EXPECT_EQ(GetMenu(c.window), nullptr);

        RECT placed;
        GetWindowRect(c.window, &placed);
        EXPECT_EQ(placed.left, c.placed.left);
        EXPECT_EQ(placed.top, c.placed.top);
        EXPECT_EQ(placed.right, c.placed.right);
        EXPECT_EQ(placed.bottom, c.placed.bottom);

        RECT frame = {0, 0, 0, 0};
        AdjustWindowRectEx(&frame, style, FALSE, extended);
        RECT client;
        GetClientRect(c.window, &client);
        EXPECT_EQ(client.right, 480 - (frame.right - frame.left));
        EXPECT_EQ(client.bottom, 480 - (frame.bottom - frame.top));
    }
}

TEST_F(ConsoleStartup, BuildsTheMenu) {
    struct Case {
        UINT type;
        UINT id;
        const char *text;
    };
    const Case positions[] = {
        {MFT_STRING, 1, " Tiny Size"},
        {MFT_STRING, 2, " Small Size"},
        {MFT_STRING, 3, " Default Size"},
        {MFT_STRING, 4, " Large Size"},
        {MFT_STRING, 5, " Huge Size"},
        {MFT_SEPARATOR, 999, ""},
        {MFT_STRING, 6, " Save TextBuffer File"},
        {MFT_STRING, 7, " Save Graphic File"},
        {MFT_SEPARATOR, 999, ""},
        {MFT_STRING, 8, "  &Exit "},
    };
    ASSERT_NE(ConsoleMenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(ConsoleMenu), 10);
    for (int i = 0; i < 10; i++) {
        SCOPED_TRACE(i);
        char text[64] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = text;
        item.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(ConsoleMenu, (UINT)i, TRUE, &item));
        EXPECT_EQ(item.fType, positions[i].type);
        EXPECT_EQ(item.wID, positions[i].id);
        EXPECT_STREQ(text, positions[i].text);
        EXPECT_EQ(item.hSubMenu, nullptr);
    }
}

TEST_F(ConsoleStartup, DescribesTheFonts) {
    EXPECT_EQ(LineHeight, 15);
    ASSERT_NE(ConsoleFont, nullptr);
    ASSERT_NE(LabelFont, nullptr);
    EXPECT_EQ(GlobalSize(ConsoleFont), 60u);
    EXPECT_EQ(GlobalSize(LabelFont), 60u);

    LOGFONTA expected = {};
    expected.lfHeight = 15;
    expected.lfCharSet = SHIFTJIS_CHARSET;
    // "標準ゴシック" in code page 932, then zeros.
    const unsigned char face[] = {0x95, 0x57, 0x8f, 0x80, 0x83, 0x53, 0x83, 0x56, 0x83, 0x62, 0x83, 0x4e};
    memcpy(expected.lfFaceName, face, sizeof face);
    EXPECT_EQ(memcmp(ConsoleFont, &expected, 60), 0);
    EXPECT_EQ(ConsoleFont->lfCharSet, 128);

    const LOGFONTA zero = {};
    EXPECT_EQ(memcmp(LabelFont, &zero, 60), 0);
}

TEST_F(ConsoleStartup, SetsTheTextState) {
    EXPECT_EQ(LineCount, 1);
    EXPECT_EQ(WriteIndex, 0);
    EXPECT_EQ(OldestIndex, 0);
    EXPECT_STREQ(TextRing[0], "");
    RECT client;
    GetClientRect(ConsoleWindow, &client);
    EXPECT_EQ(VisibleLines, client.bottom / 15);
    EXPECT_EQ(ScrollPos, 0);
    EXPECT_EQ(WaitingForInput, 0);
    EXPECT_EQ(InputLineShown, 1);
    EXPECT_NE(RefreshTimer, 0u);
}

TEST_F(ConsoleStartup, TimerRepaintsPrintedTextAndBlinks) {
    ConsolePrint("PET BackProjection\n");
    EXPECT_EQ(ConsoleDirty, 1);
    int phase = CaretOn;
    EXPECT_TRUE(PumpUntil([] { return ConsoleDirty == 0; }, 3000));
    EXPECT_TRUE(PumpUntil([phase] { return CaretOn != phase; }, 3000));
    EXPECT_EQ(ConsoleFontHandle, nullptr);  // no font survives a drawing pass
}

// Last: it moves the console.
TEST_F(ConsoleStartup, ZPlacesTheConsoleForTheDialogue) {
    PlaceConsoleForDialogue();
    RECT placed;
    GetWindowRect(ConsoleWindow, &placed);
    EXPECT_EQ(placed.left, 2);
    EXPECT_EQ(placed.top, 20);
    EXPECT_EQ(placed.right - placed.left, 350);
    EXPECT_EQ(placed.bottom - placed.top, 600);
    EXPECT_EQ(TitleOf(ConsoleWindow), "Quorvel");
    RECT client;
    GetClientRect(ConsoleWindow, &client);
    EXPECT_EQ(VisibleLines, client.bottom / 15);  // resizing recounts the lines
}

}  // namespace

}  // namespace console_startup_test
