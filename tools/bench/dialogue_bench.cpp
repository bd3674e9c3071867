// Drives quorvel.exe through a whole filtered reconstruction of the head, then holds
// it at the next question so that ./bench can read its peak memory and its processor
// use while it waits.
//
// Usage: dialogue_bench QUORVEL_EXE FOLDER HOLD_MS   (Linux paths; run under Wine)
// Prints "waiting" once the program waits at "Change Reconstruction Slice ?".
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "recon/dialogue_prompts.h"
#include "recon/working_arrays.h"
#include "teaching/filter_taps.h"
#include "teaching/sample_volume.h"
#include "tools/bench/bench_common.h"
#include "tools/program_driver/dialogue_driver.h"

const int QuestionTimeoutMs = 120000;

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

    // A filtered reconstruction of row 43, held at the question that follows it.
    const DialogueStep steps[] = {
        {PromptDispProjection, "", NULL}, {PromptSelectSlice, "43", NULL}, {PromptSelectOk, "", NULL},
        {PromptReconOk, "", NULL},        {PromptLoadFilter, "", filterWin}, {PromptFilterOk, "", NULL},
        {PromptMethod, "2", NULL},        {PromptDispFiltered, "", NULL},   {PromptChangeSlice, NULL, NULL},
    };
    int ok = StartProgram(argv[1], argv[2]) && AnswerFileDialog(volumeWin, QuestionTimeoutMs) &&
             WalkDialogue(steps, sizeof steps / sizeof steps[0], QuestionTimeoutMs, NULL);
    if (!ok) printf("failed: %s\n", DriverFailure);
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
