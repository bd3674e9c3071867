#include <windows.h>

#include "console/console_window.h"
#include "recon/workflow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (!InitWindows(instance, showCommand)) return 0;
    RunWorkflow();
}
