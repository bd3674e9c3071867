// Painting of the console from the ring: the whole view, the line being typed with its
// blinking caret, the scroll bar and the scrolling requests.
#include "console/console_paint.h"

#include <stdio.h>
#include <string.h>

#include "console/console_window.h"
#include "console/input_line.h"
#include "console/text_ring.h"

int InputY = 0;                       // y of the last line ConsolePaint drew, pixels
int InputLineShown = 1;               // the view is at the bottom
int CaretOn = 0;                      // caret blink phase
HFONT ConsoleFontHandle = nullptr;    // font of the drawing pass under way

const int CompositionBytes = 512;     // current line, typed text and caret tail
const int CaretTailChars = 4;         // "|   " or four blanks

// Ring slot of the line that stands `offset` lines after the oldest one.
static int RingSlot(int offset) {
    int slot = (OldestIndex + offset) % RingLines;
    return slot < 0 ? slot + RingLines : slot;
}

// Selects a font made from ConsoleFont, if there is a description yet; returns the
// font it replaced.
static HGDIOBJ SelectConsoleFont(HDC dc) {
    if (ConsoleFont == nullptr) return nullptr;
    ConsoleFontHandle = CreateFontIndirectA(ConsoleFont);
    return SelectObject(dc, ConsoleFontHandle);
}

static void ReleaseConsoleFont(HDC dc, HGDIOBJ previous) {
    if (ConsoleFontHandle == nullptr) return;
    SelectObject(dc, previous);
    DeleteObject(ConsoleFontHandle);
    ConsoleFontHandle = nullptr;
}

static void DrawRingLine(HDC dc, int slot, int row) {
    int y = row * LineHeight;
    TextOutA(dc, 0, y, TextRing[slot], (int)strlen(TextRing[slot]));
    InputY = y;
}

void ConsolePaint() {
    // Painting can be asked for while the window is still being created.
    if (ConsoleWindow == nullptr) return;
    HDC dc = GetDC(ConsoleWindow);
    SendMessageA(ConsoleWindow, WM_ERASEBKGND, (WPARAM)dc, 0);
    HGDIOBJ previous = SelectConsoleFont(dc);

    SCROLLINFO scroll = {};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    scroll.nMin = 0;
    scroll.nMax = LineCount - 1;
    scroll.nPage = (UINT)(VisibleLines > 0 ? VisibleLines : 0);
    scroll.nPos = ScrollPos;
    SetScrollInfo(ConsoleWindow, SB_VERT, &scroll, TRUE);

    if (VisibleLines < LineCount) {
        for (int i = 0; i < VisibleLines; i++) DrawRingLine(dc, RingSlot(ScrollPos + i), i);
    } else {
        for (int i = 0; i < LineCount; i++) DrawRingLine(dc, RingSlot(i), i);
    }
    ReleaseConsoleFont(dc, previous);

    if (WaitingForInput && (ScrollPos == LineCount - VisibleLines || LineCount < VisibleLines)) {
        InputLineShown = 1;
        DrawInputLine();
    }
    ReleaseDC(ConsoleWindow, dc);
}

void UpdateVisibleLines() {
    if (LineHeight < 2) return;
    RECT client;
    GetClientRect(ConsoleWindow, &client);
    VisibleLines = (client.bottom - client.top) / LineHeight;
    ScrollPos = VisibleLines > LineCount ? 0 : LineCount - VisibleLines;
}

void DrawInputLine() {
    if (!InputLineShown || ConsoleWindow == nullptr) return;
    HDC dc = GetDC(ConsoleWindow);
    HGDIOBJ previous = SelectConsoleFont(dc);

    // A long typed line is cut so that the caret tail still fits.
    char composition[CompositionBytes];
    const char *line = TextRing[WriteIndex];
    int room = CompositionBytes - 1 - CaretTailChars - (int)strlen(line);
    snprintf(composition, sizeof composition, "%s%.*s%s", line, room, InputLine,
             CaretOn ? "|   " : "    ");
    TextOutA(dc, 0, InputY, composition, (int)strlen(composition));

    ReleaseConsoleFont(dc, previous);
    ReleaseDC(ConsoleWindow, dc);
}

LRESULT HandleVerticalScroll(WPARAM wParam) {
    int before = ScrollPos;
    int position;
    InputLineShown = 0;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: position = before - 1; break;
    case SB_LINEDOWN: position = before + 1; break;
    case SB_PAGEUP: position = before - VisibleLines; break;
    case SB_PAGEDOWN: position = before + VisibleLines; break;
    case SB_ENDSCROLL: position = before; break;
    default: position = HIWORD(wParam); break;  // the thumb's position, also for top and bottom
    }
    if (position < 0) position = 0;
    if (position >= LineCount - VisibleLines) {
        position = LineCount - VisibleLines;
        InputLineShown = 1;
    }
    ScrollPos = position;
    if (position != before) ConsolePaint();
    return 0;
}
