// Drives quorvel.exe as a user would: typed answers posted to its console, its file
// dialogs, message boxes and pop-up menu answered, the console text read back through the
// menu's own save command. The program may be another process, started here and watched
// by polling, or the windows of this test program itself, whose modal loops a thread
// timer answers from inside (a script of steps).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// ---- Paths and processes ----

// The Windows form of a host path under Wine (drive Z:, backslashes); other paths unchanged.
std::string WinePath(const char *hostPath);

// Starts a Windows program (a host or Windows path) with arguments (may be null) in
// workDir (may be null). Returns 0 when it cannot be started.
int StartProcess(const char *program, const char *arguments, const char *workDir, PROCESS_INFORMATION *process);
// Waits for a started process to end; returns its exit status, or -1 on time-out, when
// it is ended with status 998. The handles are closed either way.
long FinishProcess(PROCESS_INFORMATION *process, int timeoutMs);

// ---- The program as another process ----

const int DriverLineMax = 200;     // lines of console text kept from one read
const int DriverLineBytes = 200;   // one line with its terminating zero

extern char DriverLines[DriverLineMax][DriverLineBytes];  // console text, oldest first
extern int DriverLineCount;                               // lines in DriverLines
extern char DriverFailure[512];                           // why the last step failed

// Starts the program in workDir (host paths) and waits for its console window.
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
// Waits until the console ends with prompt, a row of DialoguePrompts or the tests' own
// text of one: its last line, and the line before when that one is neither blank nor a
// format's. Types answer with Enter when one is given.
int AwaitPrompt(const char *prompt, const char *answer, int timeoutMs);

// One question of the dialogue and how the user answers it.
struct DialogueStep {
    int prompt;          // a DialoguePrompt
    const char *answer;  // typed with Enter; null: the question is only waited for
    const char *file;    // the file dialog that the answer opens, answered with this path; or null
};
// Walks the steps in order, calling atPrompt (when given) once each question has come and
// before it is answered. Returns 1 when every step was taken; otherwise 0 with
// DriverFailure saying why.
int WalkDialogue(const DialogueStep *steps, int count, int timeoutMs, void (*atPrompt)(int prompt));
// Saves the picture through the menu's " Save Graphic File" into path.
int SaveGraphic(const char *path);
// Answers the save dialog of a menu command already chosen with path, and its report box,
// which must say report.
int AnswerSave(const char *path, const char *report);

// ---- The windows of this program: a script answered from a thread timer ----

enum ModalKind { ModalFileDialog, ModalMessageBox, ModalMenu };

struct ModalStep {
    ModalKind kind;
    int answer;        // IDOK or IDCANCEL; for the menu: 0 closes it, n > 0 picks
                       // selectable item n - 1 (separators do not count)
    const char *path;  // typed into a file dialog's name box before OK
};

// What the driver found when it answered a step.
struct ModalSeen {
    ModalKind kind;
    std::string caption;  // window text of a dialog or box
    std::string text;     // a box's message; a file dialog's name box before typing
    RECT rect;            // the window's screen rectangle
};

// Starts answering the steps in order; anything else that opens is cancelled and counted.
void StartModalScript(const std::vector<ModalStep> &steps);

// Stops the timer; returns what was answered. Unexpected windows are listed with
// caption "unexpected"; a step that never came, with caption "timeout".
std::vector<ModalSeen> FinishModalScript();

// How many of the script's steps have been answered (or given up) so far.
size_t ModalStepsTaken();

// Shorthands.
ModalStep AnswerBox(int answer);
ModalStep ChooseFile(const char *path);
ModalStep CancelFileDialog();
ModalStep CloseMenu();
ModalStep PickMenuItem(int selectable);
