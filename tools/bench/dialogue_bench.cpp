// Drives quorvel.exe through a whole filtered reconstruction of the head, then holds
// it at the next question so that ./bench can read its peak memory and its processor
// use while it waits.
//
// Usage: dialogue_bench QUORVEL_EXE FOLDER HOLD_MS   (Linux paths; run under Wine)
// Prints "waiting" once the program waits at "Change Reconstruction Slice ?".
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "teaching/filter_taps.h"
#include "teaching/sample_volume.h"
#include "recon/working_arrays.h"
#include "tools/bench/bench_common.h"
#include "tools/program_driver/dialogue_driver.h"

const int QuestionTimeoutMs = 120000;

static int Ask(const char *lastLine, const char *lineBefore, const char *answer) {
    if (!WaitForPrompt(lastLine, lineBefore, QuestionTimeoutMs)) {
        printf("failed: %s\n", DriverFailure);
        return 0;
    }
    if (answer) TypeLine(answer);
    return 1;
}

int main(int argc, char **argv) {
    if (argc < 4) {
        printf("usage: dialogue_bench QUORVEL_EXE FOLDER HOLD_MS\n");
        return 2;
    }
    char volume[MAX_PATH], filter[MAX_PATH], volumeWin[MAX_PATH], filterWin[MAX_PATH];
    snprintf(volume, sizeof volume, "%s/bench_head.sino", argv[2]);
    snprintf(filter, sizeof filter, "%s/bench_ramp.txt", argv[2]);
    snprintf(volumeWin, MAX_PATH, "%s", WinePath(volume).c_str());
    snprintf(filterWin, MAX_PATH, "%s", WinePath(filter).c_str());
    PrepareHeadSlice();
    WriteSampleVolume(volumeWin);
    WriteFilterFile(filterWin, FilterTaps);

    int ok = StartProgram(argv[1], argv[2]) && AnswerFileDialog(volumeWin, QuestionTimeoutMs) &&
             Ask("Disp Projection ", NULL, "") && Ask("select slice = ", NULL, "43") &&
             Ask("select slice OK ? ", NULL, "") && Ask("(yes: enter, no: n) ", "Reconstruction slice OK? ", "") &&
             Ask(" Load Real space Filter ", NULL, "") && AnswerFileDialog(filterWin, QuestionTimeoutMs) &&
             Ask(" OK ? (yes; enter, no; n ) ", NULL, "") && Ask(" ", " 2: Filtered BackProjection ", "2") &&
             Ask(" Disp Filtered Pth * Filter ", NULL, "") &&
             Ask(" (yes: enter, no: n) ", " Change Reconstruction Slice ? ", NULL);
    if (ok) {
        printf("waiting\n");
        fflush(stdout);
        Sleep(atoi(argv[3]));
    }
    KillProgram();
    DeleteFileA(volumeWin);
    DeleteFileA(filterWin);
    return ok ? 0 : 1;
}
