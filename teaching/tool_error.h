// The one line the data tool reports when an argument or a file is bad, and the way it
// shows names and text from files on a terminal.
#pragma once

const int ArgumentBytesMax = 4096;   // longest word on the command line, with its zero
// Room for the longest message whole: its words, two names of ArgumentBytesMax and a reason.
const int ToolErrorBytes = 3 * ArgumentBytesMax;
extern char ToolError[ToolErrorBytes];   // the last failure, one line without its end

// Formats the failure into ToolError and returns 0, so callers can return its result.
int Refuse(const char *format, ...) __attribute__((format(printf, 1, 2)));
// The same, returning status (an exit status of the tool).
int RefuseWith(int status, const char *format, ...) __attribute__((format(printf, 2, 3)));

// text as it may reach a terminal: control characters (a line break in a file name, an
// escape from a file) shown as \xNN, so that a message stays one line and changes nothing
// on the screen. The result lives until the fourth next call.
const char *Printable(const char *text);
