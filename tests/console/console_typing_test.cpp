#include <gtest/gtest.h>

#include <stdint.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/window_side.h"
#include "console/console_paint.h"
#include "console/console_window.h"
#include "console/input_line.h"
#include "console/ring_lines.h"
#include "console/text_ring.h"
#include "support/test_windows.h"
#include "window_checks.h"

namespace console_typing_test {

namespace {

using Lines = std::vector<std::string>;

int WatchdogFired = 0;  // a question was still waiting when the watchdog ran out

// Ends a wait that the posted characters failed to answer, so a fault fails the test
// instead of hanging it.
VOID CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (WaitingForInput) {
        WatchdogFired = 1;
        WaitingForInput = 0;
    }
}

class ConsoleTyping : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartConsole());
        ResetTextRing();
        InputLine[0] = '\0';
        InputLength = 0;
        WaitingForInput = 0;
        WatchdogFired = 0;
        UpdateVisibleLines();
        ConsolePaint();
    }

    // Posts the characters as the keyboard would, then asks.
    static void Post(const std::vector<int> &codes) {
        for (int code : codes) PostMessageA(ConsoleWindow, WM_CHAR, (WPARAM)code, 0);
    }
    static void AskWithWatchdog(const char *format, void *target) {
        UINT_PTR timer = SetTimer(nullptr, 0, 10000, Watchdog);
        EXPECT_EQ(ConsoleScan(format, target), 0);
        KillTimer(nullptr, timer);
        EXPECT_EQ(WatchdogFired, 0);
        EXPECT_EQ(WaitingForInput, 0);
    }
    // Prints lines and repaints as the timer would; the first paint that shows the scroll
    // bar narrows the view, and the resize puts it at the bottom.
    static void FillRing(int lines) {
        for (int i = 0; i < lines; i++) ConsolePrint("line %d\n", i);
        ConsolePaint();
    }
};

std::vector<int> Codes(const std::string &text) {
    std::vector<int> codes(text.begin(), text.end());
    codes.push_back('\r');
    return codes;
}

TEST_F(ConsoleTyping, PostedCharactersAnswerTheQuestion) {
    struct Case {
        const char *name;
        std::vector<int> codes;  // Enter included
        const char *format;
        int32_t value;           // the number, or the letter's code
        const char *echo;        // the prompt's line afterwards
    };
    const Case cases[] = {
        {"a number", Codes("40"), "%d", 40, "Row? 40"},
        {"digits then letters", Codes("12abc"), "%d", 12, "Row? 12abc"},
        {"backspace edits", {'4', '5', 8, '7', '\r'}, "%d", 47, "Row? 47"},
        {"code 16 deletes too", {'9', 16, '3', '\r'}, "%d", 3, "Row? 3"},
        {"tab changes nothing", {'1', 9, '2', '\r'}, "%d", 12, "Row? 12"},
        {"first letter of a word", Codes("no"), "%c", 'n', "Row? no"},
        {"blank and comma skipped", Codes(" ,y"), "%c", 'y', "Row?  ,y"},
        {"empty line", Codes(""), "%c", 0, "Row? "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ResetTextRing();
        ConsolePrint("Row? ");
        Post(c.codes);
        int32_t number = -1;
        char letter = '#';
        bool isLetter = c.format[1] == 'c';
        AskWithWatchdog(c.format, isLetter ? (void *)&letter : (void *)&number);
        EXPECT_EQ(isLetter ? (int32_t)(unsigned char)letter : number, c.value);
        EXPECT_EQ(RingLinesInOrder(), (Lines{c.echo, ""}));
        EXPECT_EQ(InputLength, 0);
    }
}

TEST_F(ConsoleTyping, RestAnswersTheNextQuestionWithoutWaiting) {
    ConsolePrint("Slice? ");
    Post(Codes("40 n"));
    int32_t slice = 0;
    AskWithWatchdog("%d", &slice);
    EXPECT_EQ(slice, 40);
    EXPECT_EQ(RingLinesInOrder(), (Lines{"Slice? 40 n"}));

    ConsolePrint("OK? ");
    char answer = 0;
    PostMessageA(ConsoleWindow, WM_CHAR, 'x', 0);  // left queued: must not be taken
    AskWithWatchdog("%c", &answer);
    EXPECT_EQ(answer, 'n');
    EXPECT_EQ(RingLinesInOrder(), (Lines{"Slice? 40 nOK? ", ""}));

    // The queued character arrives while nothing waits and is dropped.
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(InputLength, 0);
}

double ThreadSeconds() {
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    auto seconds = [](FILETIME t) { return (((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime) * 1e-7; };
    return seconds(kernel) + seconds(user);
}

TEST_F(ConsoleTyping, WaitingSleepsWhileNothingHappens) {
    UINT_PTR timer = SetTimer(nullptr, 0, 2000, Watchdog);
    double before = ThreadSeconds();
    int32_t unanswered = 0;
    ConsoleScan("%d", &unanswered);
    double used = ThreadSeconds() - before;
    KillTimer(nullptr, timer);
    EXPECT_EQ(WatchdogFired, 1);
    EXPECT_LT(used, 0.5);  // polling would keep the processor busy for the whole 2 s
}

TEST_F(ConsoleTyping, CharactersWithoutAQuestionAreDropped) {
    for (int code : {(int)'a', 8, 13}) SendMessageA(ConsoleWindow, WM_CHAR, (WPARAM)code, 0);
    EXPECT_EQ(InputLength, 0);
    EXPECT_EQ(RingLinesInOrder(), (Lines{""}));
}

TEST_F(ConsoleTyping, TypingBringsTheViewToTheBottom) {
    FillRing(120);
    ASSERT_GT(LineCount, VisibleLines);
    const int bottom = LineCount - VisibleLines;
    WaitingForInput = 1;
    for (int code : {8, (int)'a', 9}) {  // backspace on an empty line and a tab count too
        SCOPED_TRACE(code);
        SendMessageA(ConsoleWindow, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
        ASSERT_EQ(ScrollPos, 3);
        ASSERT_EQ(InputLineShown, 0);
        SendMessageA(ConsoleWindow, WM_CHAR, (WPARAM)code, 0);
        EXPECT_EQ(ScrollPos, bottom);
        EXPECT_EQ(InputLineShown, 1);
        EXPECT_EQ(GetScrollPos(ConsoleWindow, SB_VERT), bottom);
    }
    EXPECT_EQ(std::string(InputLine), "a");
    WaitingForInput = 0;
}

TEST_F(ConsoleTyping, LongestLineIsTypedAndDrawnAfterAFullPrompt) {
    ConsolePrint("%s", std::string(159, 'p').c_str());  // the prompt's line is nearly full
    WaitingForInput = 1;
    for (int i = 0; i < 520; i++) SendMessageA(ConsoleWindow, WM_CHAR, (WPARAM)('a' + i % 26), 0);
    EXPECT_EQ(InputLength, 511);
    CaretOn = 1;
    DrawInputLine();  // the composition is cut to fit
    EXPECT_EQ(InputLength, 511);
    WaitingForInput = 0;
}

TEST_F(ConsoleTyping, ScrollRequestsMoveTheView) {
    FillRing(250);  // a full ring
    const int visible = VisibleLines;
    ASSERT_GT(visible, 10);
    const int bottom = LineCount - visible;
    struct Case {
        const char *name;
        int before, code, thumb, after;
        int shown;  // InputLineShown afterwards
    };
    const Case cases[] = {
        {"line up", 10, SB_LINEUP, 77, 9, 0},
        {"line up at the top", 0, SB_LINEUP, 0, 0, 0},
        {"line down", 10, SB_LINEDOWN, 0, 11, 0},
        {"line down onto the bottom", bottom - 1, SB_LINEDOWN, 0, bottom, 1},
        {"line down past the bottom", bottom, SB_LINEDOWN, 0, bottom, 1},
        {"page up", 100, SB_PAGEUP, 0, 100 - visible, 0},
        {"page up past the top", 5, SB_PAGEUP, 0, 0, 0},
        {"page down", 100, SB_PAGEDOWN, 0, 100 + visible, 0},
        {"page down past the bottom", bottom - 3, SB_PAGEDOWN, 0, bottom, 1},
        {"end of scrolling keeps the place", 37, SB_ENDSCROLL, 80, 37, 0},
        {"end of scrolling at the bottom", bottom, SB_ENDSCROLL, 0, bottom, 1},
        {"thumb dragged", 10, SB_THUMBTRACK, 50, 50, 0},
        {"thumb released", 10, SB_THUMBPOSITION, 60, 60, 0},
        {"thumb beyond the bottom", 10, SB_THUMBTRACK, 65535, bottom, 1},
        {"top takes the high word", 40, SB_TOP, 0, 0, 0},
        {"bottom takes the high word too", 40, SB_BOTTOM, 0, 0, 0},
        {"unknown code takes the high word", 40, 9, 12, 12, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScrollPos = c.before;
        InputLineShown = 1 - c.shown;
        EXPECT_EQ(SendMessageA(ConsoleWindow, WM_VSCROLL, MAKEWPARAM(c.code, c.thumb), 0), 0);
        EXPECT_EQ(ScrollPos, c.after);
        EXPECT_EQ(InputLineShown, c.shown);
        if (c.after != c.before) {
            EXPECT_EQ(GetScrollPos(ConsoleWindow, SB_VERT), c.after);  // repainted with the bar
        }
    }
    SCROLLINFO bar = {};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(ConsoleWindow, SB_VERT, &bar));
    EXPECT_EQ(bar.nMin, 0);
    EXPECT_EQ(bar.nMax, 199);
    EXPECT_EQ(bar.nPage, (UINT)visible);
    EXPECT_NE(GetWindowLongA(ConsoleWindow, GWL_STYLE) & WS_VSCROLL, 0);  // the bar is shown now
}

TEST_F(ConsoleTyping, ScrollingWhenEveryLineFits) {
    FillRing(2);
    ASSERT_LT(LineCount, VisibleLines);
    for (int code : {SB_LINEUP, SB_LINEDOWN, SB_THUMBTRACK}) {
        SCOPED_TRACE(code);
        ScrollPos = 0;
        InputLineShown = 0;
        SendMessageA(ConsoleWindow, WM_VSCROLL, MAKEWPARAM(code, 1), 0);
        EXPECT_EQ(ScrollPos, LineCount - VisibleLines);  // negative: the bottom clamp runs last
        EXPECT_EQ(InputLineShown, 1);
    }
}

TEST_F(ConsoleTyping, PaintShowsTheRingAtTheScrollPosition) {
    FillRing(250);
    ScrollPos = 7;
    ConsolePaint();
    EXPECT_EQ(InputY, (VisibleLines - 1) * LineHeight);
    EXPECT_EQ(ConsoleFontHandle, nullptr);
    // Fewer lines than fit: every line is drawn from the top, the last one at the bottom.
    ResetTextRing();
    FillRing(3);
    ConsolePaint();
    EXPECT_EQ(InputY, 3 * LineHeight);
}

// Dark (text) pixels in the console's top left corner, where the first lines stand; -1
// when another window covers the console, whose pixels would then not be its own.
int DarkPixelsAtTop() {
    if (!Uncovered(ConsoleWindow)) return -1;
    HDC dc = GetDC(ConsoleWindow);
    int dark = 0;
    for (int y = 0; y < 2 * LineHeight; y++)
        for (int x = 0; x < 150; x++) {
            COLORREF c = GetPixel(dc, x, y);
            if (c != CLR_INVALID && GetRValue(c) < 128) dark++;
        }
    ReleaseDC(ConsoleWindow, dc);
    return dark;
}

// A window uncovered or restored is invalidated with erasing: the repaint must leave the
// text standing, not the blank background of the erase.
TEST_F(ConsoleTyping, RepaintRequestWithErasingKeepsTheText) {
    ASSERT_TRUE(ShowUncovered(ConsoleWindow)) << "the console must be shown and uncovered to be read back";
    ConsolePrint("First line of the console\nsecond line");
    ConsolePaint();
    ASSERT_GT(DarkPixelsAtTop(), 50);
    InvalidateRect(ConsoleWindow, nullptr, TRUE);
    UpdateWindow(ConsoleWindow);
    EXPECT_GT(DarkPixelsAtTop(), 50);
}

}  // namespace

}  // namespace console_typing_test
