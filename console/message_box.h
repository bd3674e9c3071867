// printf-like report to the user in a modal box owned by the console window.
#pragma once

const int MessageBytes = 260;  // a message is cut to 259 characters

void ShowMessage(const char *format, ...) __attribute__((format(printf, 1, 2)));
