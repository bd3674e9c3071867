// The question's wait: a message loop that runs until Enter answers it, and the typed
// characters that build the answer.
#include "console/console_scan.h"

#include <stdarg.h>

#include "app/window_side.h"
#include "console/console_paint.h"
#include "console/input_line.h"
#include "console/text_ring.h"

int ConsoleScan(const char *format, ...) {
    va_list args;
    va_start(args, format);
    int answered = BeginScanArgs(format, args);
    va_end(args);
    if (answered) return 0;

    WaitingForInput = 1;
    MSG message;
    while (WaitingForInput) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } else {
            // Sleep until something arrives instead of looking again at once: a question
            // may wait for minutes and must not keep a processor busy meanwhile. Timer
            // ticks, typing and painting all wake this up.
            WaitMessage();
        }
    }
    return 0;
}

LRESULT HandleConsoleChar(HWND window, WPARAM wParam, LPARAM lParam) {
    // Characters typed while no question waits are dropped.
    if (!WaitingForInput) return 0;
    unsigned char code = (unsigned char)(wParam & 0xFF);
    if (code == '\r') {
        WaitingForInput = 0;
        EchoOnParse = 1;
        ParseInputLine();
        ConsolePaint();
        return DefWindowProcA(window, WM_CHAR, wParam, lParam);
    }
    EditInputLine(code);
    // Typing brings a scrolled-up view back to the line being typed.
    if (ScrollPos < LineCount - VisibleLines) {
        ScrollPos = LineCount - VisibleLines;
        ConsolePaint();
    }
    InputLineShown = 1;
    DrawInputLine();
    return 0;
}
