// Painting of the console: the whole view, the input line with its caret, the scroll bar.
#pragma once
#include <windows.h>

extern int InputY;               // y of the last line ConsolePaint drew, pixels
extern int InputLineShown;       // the view is at the bottom, so the input line may be drawn
extern int CaretOn;              // caret blink phase, toggled every timer tick
extern HFONT ConsoleFontHandle;  // font of the drawing pass under way, else null

void ConsolePaint();
void UpdateVisibleLines();
void DrawInputLine();
LRESULT HandleVerticalScroll(WPARAM wParam);
