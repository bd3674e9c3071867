// Drives a running quorvel.exe from outside, as a user would: typed characters posted
// to its console, its open and save dialogs answered, its message boxes closed, and the
// console text read back through the menu's own save command.
#pragma once
#include <windows.h>

const int DriverLineMax = 200;     // lines of console text kept from one read
const int DriverLineBytes = 200;   // one line with its terminating zero

extern char DriverLines[DriverLineMax][DriverLineBytes];  // console text, oldest first
extern int DriverLineCount;                               // lines in DriverLines
extern char DriverFailure[512];                           // why the last step failed

// Converts a Linux path to the Z: drive path the program sees under Wine.
void WindowsPath(const char *unixPath, char *out, int outBytes);

// Starts the program in workDir and waits for its console window.
int StartProgram(const char *exePath, const char *workDir);
// Waits for the program to end; returns its exit status, or -1 on time-out.
long WaitForExit(int timeoutMs);
void KillProgram();

// Types text into the console, then Enter.
void TypeLine(const char *text);
// Types character codes as they are, any byte included, without Enter.
void TypeCodes(const unsigned char *codes, int count);
// Posts a message to the console window (a key, the close request, a menu command).
void PostToConsole(UINT message, WPARAM wParam);
// Whether the program still runs.
int ProgramRunning();

// Waits for an open or save dialog of the program and answers it with path ("" cancels).
int AnswerFileDialog(const char *path, int timeoutMs);
// Waits for a file dialog of the program other than `other` (may be null).
HWND WaitForFileDialog(HWND other, int timeoutMs);
// Types path into a dialog's name box and presses OK ("" presses Cancel), without waiting.
void SubmitFileDialog(HWND dialog, const char *path);
// Waits for a message box with this caption, copies its text, presses button (IDOK, IDCANCEL).
int AnswerMessageBox(const char *caption, char *text, int textBytes, int button, int timeoutMs);

// Saves the console text through the menu into a fresh file and reads it into DriverLines.
int ReadConsoleText();
// Waits until the console's last line is lastLine (and, if given, the one before it is
// lineBefore): the program is then waiting for that question's answer.
int WaitForPrompt(const char *lastLine, const char *lineBefore, int timeoutMs);
// Saves the picture through the menu's " Save Graphic File" into path.
int SaveGraphic(const char *path);
// Answers the save dialog of a menu command already chosen with path, and its report box,
// which must say report.
int AnswerSave(const char *path, const char *report);
