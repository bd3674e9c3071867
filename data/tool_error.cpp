#include "data/tool_error.h"

#include <stdarg.h>
#include <stdio.h>

char ToolError[ToolErrorBytes];

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
