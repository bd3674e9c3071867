// Start-up of both windows, the console's menu and fonts, the console window's
// procedure, the refresh timer and the exit path.
#include "console/console_window.h"

#include <stdlib.h>
#include <string.h>

#include "app/window_side.h"
#include "console/console_paint.h"
#include "console/console_scan.h"
#include "console/input_line.h"
#include "console/menu_commands.h"
#include "console/text_ring.h"
#include "graphics/surface.h"

HWND ConsoleWindow = nullptr;       // the console, class "Application"
HWND GraphicsWindow = nullptr;      // the picture window, class "Graphics"
HMENU ConsoleMenu = nullptr;        // the right-click pop-up menu
UINT_PTR RefreshTimer = 0;          // id of the 500 ms thread timer
LOGFONTA *ConsoleFont = nullptr;    // GlobalAlloc'd console font description
LOGFONTA *LabelFont = nullptr;      // GlobalAlloc'd label font description, filled by GraphicsOpen
int LineHeight = 0;                 // console line pitch, pixels

static_assert(sizeof(LOGFONTA) == FontBlockBytes, "a font block is one LOGFONTA");

const int DefaultLineHeight = 15;                // console line pitch after start-up, pixels
const int GraphicsStartX = 100;                  // graphics window's first position
const int GraphicsStartY = 20;
const int DialogueLeft = 2;                      // console's place while the dialogue runs
const int DialogueTop = 20;
const int DialogueWidth = 350;
const int DialogueHeight = 600;

// "標準ゴシック" in code page 932.
const char GothicFaceName[13] = "\x95\x57\x8f\x80\x83\x53\x83\x56\x83\x62\x83\x4e";

struct MenuPosition {
    UINT kind;         // MF_STRING or MF_SEPARATOR
    UINT_PTR command;  // command id
    const char *text;  // item text, null for a separator
};
const int MenuPositions = 10;
const MenuPosition ConsoleMenuPositions[MenuPositions] = {
    {MF_STRING, CommandTinySize, " Tiny Size"},
    {MF_STRING, CommandSmallSize, " Small Size"},
    {MF_STRING, CommandDefaultSize, " Default Size"},
    {MF_STRING, CommandLargeSize, " Large Size"},
    {MF_STRING, CommandHugeSize, " Huge Size"},
    {MF_SEPARATOR, CommandSeparator, nullptr},
    {MF_STRING, CommandSaveText, " Save TextBuffer File"},
    {MF_STRING, CommandSaveGraphic, " Save Graphic File"},
    {MF_SEPARATOR, CommandSeparator, nullptr},
    {MF_STRING, CommandExit, "  &Exit "},
};

static LOGFONTA *AllocateFontBlock() {
    return (LOGFONTA *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, FontBlockBytes);
}

static void FreeFontBlock(LOGFONTA **block) {
    if (*block == nullptr) return;
    GlobalFree(*block);
    *block = nullptr;
}

static void BuildConsoleMenu() {
    ConsoleMenu = CreatePopupMenu();
    for (int i = 0; i < MenuPositions; i++) {
        const MenuPosition &p = ConsoleMenuPositions[i];
        InsertMenuA(ConsoleMenu, (UINT)i, MF_BYPOSITION | p.kind, p.command, p.text);
    }
}

// The font blocks; without them the console could not draw, so start-up fails.
static int AllocateFonts() {
    ConsoleFont = AllocateFontBlock();
    LabelFont = AllocateFontBlock();
    if (ConsoleFont == nullptr || LabelFont == nullptr) {
        FreeFontBlock(&ConsoleFont);
        FreeFontBlock(&LabelFont);
        return 0;
    }
    ConsoleFont->lfHeight = LineHeight;
    ConsoleFont->lfCharSet = SHIFTJIS_CHARSET;
    memcpy(ConsoleFont->lfFaceName, GothicFaceName, sizeof GothicFaceName);
    return 1;
}

// A top-level window of the first size at the platform's default place, not yet shown.
static HWND CreateTopLevelWindow(const char *className, const char *title, DWORD style, HINSTANCE instance) {
    return CreateWindowExA(0, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT, ConsoleStartSize,
                           ConsoleStartSize, nullptr, nullptr, instance, nullptr);
}

int InitWindows(HINSTANCE instance, int showCommand) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ConsoleWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    windowClass.lpszClassName = "Application";
    RegisterClassA(&windowClass);

    ConsoleWindow = CreateTopLevelWindow("Application", "Win32 Application", WS_OVERLAPPEDWINDOW | WS_VSCROLL,
                                         instance);
    if (ConsoleWindow == nullptr) return 0;
    int half = ConsoleStartSize / 2;
    MoveWindow(ConsoleWindow, GetSystemMetrics(SM_CXSCREEN) / 2 - half,
               GetSystemMetrics(SM_CYSCREEN) / 2 - half, ConsoleStartSize, ConsoleStartSize, FALSE);
    ShowWindow(ConsoleWindow, showCommand);

    windowClass.style = CS_OWNDC | CS_NOCLOSE;
    windowClass.lpfnWndProc = GraphicsWndProc;
    windowClass.lpszClassName = "Graphics";
    RegisterClassA(&windowClass);

    GraphicsWindow = CreateTopLevelWindow("Graphics", "Images", WS_SYSMENU | WS_MINIMIZEBOX, instance);
    if (GraphicsWindow == nullptr) return 0;
    MoveWindow(GraphicsWindow, GraphicsStartX, GraphicsStartY, ConsoleStartSize, ConsoleStartSize, FALSE);

    BuildConsoleMenu();
    ResetTextRing();
    LineHeight = DefaultLineHeight;
    if (!AllocateFonts()) return 0;
    UpdateVisibleLines();
    return 1;
}

void PlaceConsoleForDialogue() {
    MoveWindow(ConsoleWindow, DialogueLeft, DialogueTop, DialogueWidth, DialogueHeight, TRUE);
    SetWindowTextA(ConsoleWindow, "Quorvel");
}

VOID CALLBACK RefreshTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    RefreshSurface();
    if (ConsoleDirty) {
        ConsoleDirty = 0;
        ConsolePaint();
    }
    CaretOn = !CaretOn;
    if (WaitingForInput) DrawInputLine();
}

// Destroying the console ends the program at once, wherever the dialogue waits.
[[noreturn]] static void EndProgram() {
    WaitingForInput = 0;
    if (ConsoleFontHandle != nullptr) {
        DeleteObject(ConsoleFontHandle);
        ConsoleFontHandle = nullptr;
    }
    FreeFontBlock(&ConsoleFont);
    FreeFontBlock(&LabelFont);
    KillTimer(nullptr, RefreshTimer);
    DestroyWindow(GraphicsWindow);
    PostQuitMessage(0);
    exit(0);
}

LRESULT CALLBACK ConsoleWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        RefreshTimer = SetTimer(nullptr, 0, RefreshPeriodMs, RefreshTimerProc);
        return 0;
    case WM_DESTROY:
        EndProgram();
    case WM_SIZE:
        UpdateVisibleLines();
        ConsolePaint();
        return 0;
    case WM_ACTIVATE:
        return 0;
    case WM_PAINT: {
        // Validate first, then draw: BeginPaint erases a region marked for erasing (an
        // uncovered or restored window), which would blank text drawn before it.
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        ConsolePaint();
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) DestroyWindow(ConsoleWindow);
        return 0;
    case WM_KEYUP:
        return 0;
    case WM_CHAR:
        return HandleConsoleChar(window, wParam, lParam);
    case WM_COMMAND:
        RunMenuCommand(wParam);
        return 0;
    case WM_VSCROLL:
        return HandleVerticalScroll(wParam);
    case WM_RBUTTONDOWN:
        ShowConsoleMenu(lParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
