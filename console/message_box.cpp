// The modal box through which the program reports results and errors.
#include "app/window_side.h"

#include <stdarg.h>
#include <stdio.h>
#include <windows.h>

#include "console/console_window.h"

// Every report's caption: the name the program's boxes have always carried, kept on
// purpose, though it is not the program's name.
const char MessageCaption[] = "Tesmira Message";

void ShowMessage(const char *format, ...) {
    // Longer messages are cut to what the box's buffer holds.
    char text[MessageBytes];
    va_list args;
    va_start(args, format);
    if (vsnprintf(text, sizeof text, format, args) < 0) text[0] = '\0';
    va_end(args);
    MessageBoxA(ConsoleWindow, text, MessageCaption, MB_OK | MB_ICONINFORMATION);
}
