#include "teaching/tool_error.h"

#include <stdarg.h>
#include <stdio.h>

char ToolError[ToolErrorBytes];

const int PrintableSlots = 4;                        // results that may be in use at once
const int PrintableBytes = 4 * ToolErrorBytes + 1;   // every byte shown as \xNN at worst
static char PrintableText[PrintableSlots][PrintableBytes];
static int NextPrintable;                            // the slot the next call fills

int Refuse(const char *format, ...) {
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(ToolError, ToolErrorBytes, format, arguments);
    va_end(arguments);
    return 0;
}

int RefuseWith(int status, const char *format, ...) {
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(ToolError, ToolErrorBytes, format, arguments);
    va_end(arguments);
    return status;
}

const char *Printable(const char *text) {
    char *out = PrintableText[NextPrintable];
    NextPrintable = (NextPrintable + 1) % PrintableSlots;
    int n = 0;
    for (const unsigned char *p = (const unsigned char *)text; *p && n < PrintableBytes - 5; p++) {
        if (*p < 0x20 || *p == 0x7F) n += snprintf(out + n, PrintableBytes - n, "\\x%02X", *p);
        else out[n++] = (char)*p;
    }
    out[n] = 0;
    return out;
}
