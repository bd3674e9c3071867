// The program's message box, for the data tool: the message becomes the one line the
// tool reports, its line breaks shown as ": ".
#include <stdarg.h>
#include <stdio.h>

#include "app/window_side.h"
#include "teaching/tool_error.h"

void ShowMessage(const char *format, ...) {
    char text[MessageBytes * 4];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    int n = 0;
    for (const char *c = text; *c && n < ToolErrorBytes - 3; c++) {
        if (*c == '\n') {
            ToolError[n++] = ':';
            ToolError[n++] = ' ';
        } else {
            ToolError[n++] = *c;
        }
    }
    ToolError[n] = '\0';
}
