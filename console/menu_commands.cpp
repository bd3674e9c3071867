// The console's right-click menu and its commands: text sizes, saving the console text,
// saving the picture, and ending the program.
#include "console/menu_commands.h"

#include <stdio.h>

#include "app/window_side.h"
#include "console/console_paint.h"
#include "console/console_window.h"
#include "console/text_ring.h"
#include "graphics/bitmap_export.h"
#include "graphics/safe_save.h"
#include "graphics/surface.h"

const int TextSizeCount = 5;  // the size commands, CommandTinySize to CommandHugeSize
// Line heights of the size commands in menu order, pixels.
const int TextSizeHeights[TextSizeCount] = {9, 12, 15, 30, 45};

const UINT QuestionStyle = MB_OKCANCEL | MB_ICONQUESTION;

void ShowConsoleMenu(LPARAM clickPosition) {
    POINT point;
    point.x = LOWORD(clickPosition);
    point.y = HIWORD(clickPosition);
    ClientToScreen(ConsoleWindow, &point);
    TrackPopupMenu(ConsoleMenu, TPM_CENTERALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0,
                   ConsoleWindow, NULL);
}

static void SetTextSize(int height) {
    LineHeight = height;
    if (ConsoleFont != NULL) ConsoleFont->lfHeight = height;
    UpdateVisibleLines();
    ConsolePaint();
}

// Asks for a path to save to; returns 0 when the user gave none or declined to
// overwrite the file that is there.
static int ChooseTarget(char *path) {
    ChooseSaveFile(path);
    if (path[0] == 0) return 0;
    FILE *existing = fopen(path, "r");
    if (existing == NULL) return 1;
    fclose(existing);
    return MessageBoxA(ConsoleWindow, "\n Same file name exists. \n\n Overwrite OK? \n\n",
                       "OverWrite?", QuestionStyle) == IDOK;
}

// Writes the ring's lines, oldest first, the open current line last. Returns 0 when
// the file could not be written whole.
static int WriteConsoleText(FILE *file) {
    int written = 1;
    int slot = OldestIndex;
    for (int line = 0; line < LineCount; line++) {
        if (fprintf(file, "%s\n", TextRing[slot]) < 0) written = 0;
        slot++;
        if (slot == RingLines) slot = 0;
    }
    return written;
}

// Written to a fresh file that replaces the chosen one only when whole, so a failed
// save leaves a file already there as it was.
static void SaveConsoleText() {
    char path[PathBytes];
    if (!ChooseTarget(path)) return;
    if (!BeginReplacement(path)) {
        ShowMessage("%s", SaveFailedMessage);
        return;
    }
    FILE *file = fopen(ReplacementPath, "w");
    int written = file != NULL && WriteConsoleText(file);
    if (file != NULL && fclose(file) != 0) written = 0;
    if (!FinishReplacement(path, written)) {
        ShowMessage("%s", SaveFailedMessage);
        return;
    }
    ShowMessage("Saved TextBuffer");
}

static void SaveGraphic() {
    if (!GraphicsShown) {
        ShowMessage("Graphic window is not displayed.");
        return;
    }
    char path[PathBytes];
    if (!ChooseTarget(path)) return;
    if (ExportBitmap(path)) ShowMessage(" Saved Graphic ");
}

static void ConfirmExit() {
    if (MessageBoxA(ConsoleWindow, "\n End ? \n\n", "EXIT?", QuestionStyle) != IDOK) return;
    DestroyWindow(ConsoleWindow);  // its destruction ends the program
}

void RunMenuCommand(WPARAM command) {
    if (command >= CommandTinySize && command <= CommandHugeSize) {
        SetTextSize(TextSizeHeights[command - CommandTinySize]);
        return;
    }
    if (command == CommandSaveText) SaveConsoleText();
    if (command == CommandSaveGraphic) SaveGraphic();
    if (command == CommandExit) ConfirmExit();
}
