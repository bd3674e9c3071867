// The console's right-click menu and its eight commands.
#pragma once
#include <windows.h>

enum MenuCommand {
    CommandTinySize = 1,
    CommandSmallSize = 2,
    CommandDefaultSize = 3,
    CommandLargeSize = 4,
    CommandHugeSize = 5,
    CommandSaveText = 6,
    CommandSaveGraphic = 7,
    CommandExit = 8,
    CommandSeparator = 999
};

void ShowConsoleMenu(LPARAM clickPosition);
void RunMenuCommand(WPARAM command);
