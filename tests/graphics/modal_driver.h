// Answers the modal windows that a test opens (file dialogs, message boxes, the pop-up
// menu) from a thread timer, which keeps firing inside their modal loops.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

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

// Shorthands.
ModalStep AnswerBox(int answer);
ModalStep ChooseFile(const char *path);
ModalStep CancelFileDialog();
ModalStep CloseMenu();
ModalStep PickMenuItem(int selectable);
