// The open and save dialogs. They share one path buffer, so each opens with the path
// chosen last in any of them.
#include "graphics/file_dialog.h"

#include <windows.h>

#include "console/console_window.h"

char DialogPath[PathBytes] = "";   // last chosen full path; every dialog opens with it
char DialogTitle[PathBytes] = "";  // last chosen file name without its folder

#ifndef _WIN64
static_assert(sizeof(OPENFILENAMEA) == 88, "the dialogs take the full record");
#endif

// Pairs of name and pattern in code page 932, ending with an empty name:
//   "全てのﾌｧｲﾙ {*.*}"  "*.*"
//   "ﾃｷｽﾄﾌｧｲﾙ {*.txt}"  "*.txt"
//   "ﾋﾞｯﾄﾏｯﾌ{*.bmp}"    "*.bmp"
static const char FileFilter[] =
    "\x91\x53\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9 {*.*}\0*.*\0"
    "\xc3\xb7\xbd\xc4\xcc\xa7\xb2\xd9 {*.txt}\0*.txt\0"
    "\xcb\xde\xaf\xc4\xcf\xaf\xcc{*.bmp}\0*.bmp\0";

typedef BOOL(WINAPI *FileDialog)(LPOPENFILENAMEA);

static void RunFileDialog(FileDialog dialog, char *destination) {
    OPENFILENAMEA request;
    ZeroMemory(&request, sizeof request);
    request.lStructSize = sizeof request;
    request.hwndOwner = ConsoleWindow;
    request.lpstrFilter = FileFilter;
    request.lpstrFile = DialogPath;
    request.nMaxFile = PathBytes;
    request.lpstrFileTitle = DialogTitle;
    request.nMaxFileTitle = PathBytes;
    request.Flags = OFN_FILEMUSTEXIST;
    request.lpstrDefExt = "*";
    if (dialog(&request)) {
        lstrcpyA(destination, DialogPath);
    } else {
        destination[0] = 0;
    }
}

void ChooseOpenFile(char *destination) {
    RunFileDialog(GetOpenFileNameA, destination);
}

void ChooseSaveFile(char *destination) {
    RunFileDialog(GetSaveFileNameA, destination);
}
