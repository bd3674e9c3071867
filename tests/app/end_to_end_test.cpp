// The shipped program driven through its whole dialogue from outside, as a user would:
// two generated sinogram files, both methods, a second slice and a second file. Each
// final image, saved through the menu, must equal pixel for pixel what the platform-free
// core computes for the same inputs, and the console text must be the expected dialogue.
// Given a samples folder, it uses head.sino, rods_poisson.sino and ramp.txt from there
// instead of generated files. Given the data tool too, the second file is what the tool
// makes from a 24-bit BMP, rebuilt with a filter it makes, in a folder with Japanese
// characters under code page 932, as README.txt shows teachers; the tool then measures
// the slice saved there.
//
// Each saved picture is held to what the data tool's fbp writes for the same file, row and
// method (the tool given, or QUORVEL_FBP_TOOL).
//
// Usage: end_to_end_test QUORVEL_EXE WORK_FOLDER [SAMPLES_FOLDER [DATA_TOOL]]   (Linux paths; under Wine)
#include <windows.h>

#include <gtest/gtest.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "teaching/picture_bytes.h"
#include "recon/dialogue_text.h"
#include "recon/sinogram_file.h"
#include "recon/working_arrays.h"
#include "support/driver_checks.h"
#include "support/expected_pictures.h"
#include "support/fakes.h"
#include "tools/program_driver/dialogue_driver.h"

const int QuestionTimeoutMs = 180000;  // a reconstruction may take a while under Wine
const int ToolTimeoutMs = 120000;
const int JapaneseCodePage = 932;
// "表示ソフト" in code page 932: two of its bytes equal '\'.
const char JapaneseFolder[] = "\x95\x5c\x8e\xa6\x83\x5c\x83\x74\x83\x67";
const int DrawingColumns = 180, DrawingRows = 140;

// Compares the final-image region of a saved bitmap with the expected reconstruction.
static void CheckFinalImage(const char *bitmapPath, const char *what) {
    char first[160], message[256];
    int mismatches = FinalImageMismatches(bitmapPath, first, sizeof first);
    snprintf(message, sizeof message, "%s: the saved picture is a %ld-byte bitmap", what, SavedBitmapBytes);
    Check(mismatches >= 0, message);
    if (mismatches < 0) return;
    snprintf(message, sizeof message, "%s: final image equals the core's result, %d pixels differ%s", what,
             mismatches, first);
    Check(mismatches == 0, message);
    int lit = LitFinalPixels();
    snprintf(message, sizeof message, "%s: the expected image is not blank (%d lit pixels)", what, lit);
    Check(lit > 1000, message);
}

static const char *FbpTool = NULL;   // the data tool whose fbp the saved pictures are held to, or null

// Runs the data tool as a teacher types it into cmd.exe; returns its exit status.
static long RunTool(const char *tool, const std::string &arguments) {
    PROCESS_INFORMATION process;
    if (!StartProcess(tool, arguments.c_str(), NULL, &process)) return -1;
    return FinishProcess(&process, ToolTimeoutMs);
}

// The tool's fbp of the same file, row and method beside the saved picture, whose final
// image it must equal pixel for pixel.
static void CheckFbp(const char *volume, const char *filter, int n, char method, const char *bitmapUnix,
                     const char *what) {
    if (!FbpTool) return;
    std::string fbp = std::string(bitmapUnix) + ".fbp.bmp";
    std::string arguments = "fbp \"" + WinePath(volume) + "\" \"" + WinePath(fbp.c_str()) + "\" --row " +
                            std::to_string(n) + (method == '1' ? " --simple" : "") + " --filter \"" +
                            WinePath(filter) + "\"";
    char message[256];
    snprintf(message, sizeof message, "%s: quorvel_data fbp rebuilds the same slice", what);
    Check(RunTool(FbpTool, arguments) == 0, message);
    int differ = FinalImagesDiffer(bitmapUnix, fbp.c_str());
    snprintf(message, sizeof message, "%s: fbp's final image equals the program's saved one (%d pixels differ)", what,
             differ);
    Check(differ == 0, message);
}

// From the slice question to the final image, then the bitmap check.
static int Reconstruct(const char *volume, const char *filter, const char *filterWin, int n, char method,
                       const char *bitmapWin, const char *bitmapUnix, const char *what) {
    char slice[16], methodText[2] = {method, 0};
    snprintf(slice, sizeof slice, "%d", n);
    if (!Ask(SelectSlice, slice, QuestionTimeoutMs)) return 0;
    if (!Ask(SelectOk, "", QuestionTimeoutMs)) return 0;
    if (!Ask(ReconOk, "", QuestionTimeoutMs)) return 0;
    if (!Ask(LoadFilterAsk, "", QuestionTimeoutMs)) return 0;
    Check(AnswerFileDialog(filterWin, QuestionTimeoutMs), "the filter's open dialog is answered");
    if (!Ask(FilterOkQuestion, "", QuestionTimeoutMs)) return 0;
    if (!Ask(MethodAsk, methodText, QuestionTimeoutMs)) return 0;
    if (!Ask(DispFiltered, "", QuestionTimeoutMs)) return 0;
    if (!Ask(ChangeSlice, NULL, QuestionTimeoutMs)) return 0;
    Check(SaveGraphic(bitmapWin), "the picture is saved through the menu");
    ExpectedReconstruction(volume, filter, n, method);
    CheckFinalImage(bitmapUnix, what);
    CheckFbp(volume, filter, n, method, bitmapUnix, what);
    return 1;
}

// A teacher's drawing as Paint saves it: a white disc and a green square (grey 150) on black.
static void WriteDrawing(const char *path) {
    std::vector<uint32_t> pixels(DrawingColumns * DrawingRows);
    for (int y = 0; y < DrawingRows; ++y)
        for (int x = 0; x < DrawingColumns; ++x) {
            int dx = x - 70, dy = y - 60;
            pixels[y * DrawingColumns + x] = x >= 110 && x < 140 && y >= 80 && y < 110 ? 0x00FF00u
                                             : dx * dx + dy * dy < 50 * 50              ? 0xFFFFFFu
                                                                                        : 0u;
        }
    WriteBytes(WinePath(path), BmpBytes(DrawingColumns, DrawingRows, 24, pixels));
}

static std::string Quoted(const char *path) { return "\"" + WinePath(path) + "\""; }

// The first reconstruction's dialogue, line for line as the console holds it.
static void CheckTranscript(const char *filterWin, const char *maxLine) {
    char pathLine[300];
    const char *expected[] = {"PET BackProjection", "", " Load PET Singram data ", "", "max", "",
                              "Disp Projection ", "", "", "select slice = 40", "", "",
                              "select slice OK ? ", "", "Reconstruction slice OK? ", "(yes: enter, no: n) ",
                              "", "", " Load Real space Filter ", "", "", " Real space filter = ", "",
                              "path", " OK ? (yes; enter, no; n ) ", "", "", " Select Reconstruction method ",
                              "", " 1: Simple BackProjection ", " 2: Filtered BackProjection ", " 1", "", "",
                              " Disp Filtered Pth * Filter ", "", " Change Reconstruction Slice ? ",
                              " (yes: enter, no: n) "};
    const int count = sizeof expected / sizeof expected[0];
    int bad = -1;
    for (int i = 0; i < count && bad < 0; ++i) {
        const char *want = expected[i];
        if (strcmp(want, "max") == 0) {
            if (strcmp(DriverLines[i], maxLine) != 0) bad = i;
            continue;
        }
        if (strcmp(want, "path") == 0) {
            snprintf(pathLine, sizeof pathLine, " %s ", filterWin);
            if (_stricmp(DriverLines[i], pathLine) != 0) bad = i;
            continue;
        }
        if (i >= DriverLineCount || strcmp(DriverLines[i], want) != 0) bad = i;
    }
    char message[400];
    snprintf(message, sizeof message, "the console holds the expected dialogue (first difference at line %d: \"%s\")",
             bad, bad >= 0 && bad < DriverLineCount ? DriverLines[bad] : "");
    Check(bad < 0 && DriverLineCount >= count, message);
}

static const char *Exe;       // the program driven
static const char *Work;      // Linux path of the work folder
static const char *Samples;   // the samples folder, or null: generated files
static const char *Tool;      // the data tool, or null

TEST(EndToEnd, TheWholeDialogueGivesTheCoresPicturesAndTranscript) {
    const char *exe = Exe, *work = Work, *samples = Samples, *tool = Tool;
    FbpTool = tool ? tool : getenv("QUORVEL_FBP_TOOL");
    CreateDirectoryA(work, NULL);
    char volumeA[MAX_PATH], volumeB[MAX_PATH], filter[MAX_PATH], filterB[MAX_PATH], bitmap1[MAX_PATH],
        bitmap2[MAX_PATH], bitmap3[MAX_PATH], teacher[MAX_PATH], drawing[MAX_PATH];
    const char *inputs = samples ? samples : work;   // the folder of the volumes and the filter
    snprintf(volumeA, sizeof volumeA, "%s/%s", inputs, samples ? "head.sino" : "volume_a.sino");
    snprintf(volumeB, sizeof volumeB, "%s/%s", inputs, samples ? "rods_poisson.sino" : "volume_b.sino");
    snprintf(filter, sizeof filter, "%s/ramp.txt", inputs);
    snprintf(filterB, sizeof filterB, "%s", filter);
    snprintf(bitmap1, sizeof bitmap1, "%s/simple_40.bmp", work);
    snprintf(bitmap2, sizeof bitmap2, "%s/filtered_50.bmp", work);
    snprintf(bitmap3, sizeof bitmap3, "%s/second_file_20.bmp", work);
    if (tool) {
        Check(GetACP() == JapaneseCodePage, "the programs run under code page 932");
        snprintf(teacher, sizeof teacher, "%s/%s", work, JapaneseFolder);
        snprintf(drawing, sizeof drawing, "%s/drawing.bmp", teacher);
        snprintf(volumeB, sizeof volumeB, "%s/drawing.sino", teacher);
        snprintf(filterB, sizeof filterB, "%s/hann_half.txt", teacher);
        snprintf(bitmap3, sizeof bitmap3, "%s/slice.bmp", teacher);
        CreateDirectoryA(WinePath(teacher).c_str(), NULL);
        WriteDrawing(drawing);
        Check(RunTool(tool, "sinogram " + Quoted(volumeB) + " --picture " + Quoted(drawing) + " --counts 500") == 0,
              "quorvel_data makes a volume from a 24-bit BMP in a folder with Japanese characters");
        Check(RunTool(tool, "filter " + Quoted(filterB) + " hann --cutoff 0.5") == 0,
              "quorvel_data makes a filter with a cutoff there");
    }
    char volumeAWin[MAX_PATH], volumeBWin[MAX_PATH], filterWin[MAX_PATH], filterBWin[MAX_PATH],
        bitmap1Win[MAX_PATH], bitmap2Win[MAX_PATH], bitmap3Win[MAX_PATH];
    snprintf(volumeAWin, MAX_PATH, "%s", WinePath(volumeA).c_str());
    snprintf(volumeBWin, MAX_PATH, "%s", WinePath(volumeB).c_str());
    snprintf(filterWin, MAX_PATH, "%s", WinePath(filter).c_str());
    snprintf(filterBWin, MAX_PATH, "%s", WinePath(filterB).c_str());
    snprintf(bitmap1Win, MAX_PATH, "%s", WinePath(bitmap1).c_str());
    snprintf(bitmap2Win, MAX_PATH, "%s", WinePath(bitmap2).c_str());
    snprintf(bitmap3Win, MAX_PATH, "%s", WinePath(bitmap3).c_str());
    for (const char *old : {bitmap1, bitmap2, bitmap3}) DeleteFileA(old);
    if (!samples) {
        WriteDiscVolume(volumeA, 0.0);
        WriteDiscVolume(volumeB, 12.0);
        WriteRampFilter(filter);
    }
    char maxLine[64];
    LoadSinogramVolume(volumeA);
    FindMaxCount();
    snprintf(maxLine, sizeof maxLine, " max count = %lf", (double)MaxCount);

    if (CheckFailures) return;
    Check(StartProgram(exe, work), "the program starts and titles its console \"Quorvel\"");
    if (CheckFailures) return;
    Check(AnswerFileDialog(volumeAWin, QuestionTimeoutMs), "the sinogram's open dialog is answered");
    if (Ask(DispProjection, "", QuestionTimeoutMs)) {
        // First pass: simple backprojection; then another slice through the review question.
        if (Reconstruct(volumeA, filter, filterWin, 40, '1', bitmap1Win, bitmap1, "simple, slice row 40")) {
            CheckTranscript(filterWin, maxLine);
            TypeLine("");
        }
        // Second pass: filtered backprojection of another slice; then on to a new file.
        if (Reconstruct(volumeA, filter, filterWin, 50, '2', bitmap2Win, bitmap2, "filtered, slice row 50")) {
            TypeLine("n");
            if (Ask(Retry, "", QuestionTimeoutMs)) {
                Check(AnswerFileDialog(volumeBWin, QuestionTimeoutMs), "the second sinogram's dialog is answered");
                if (Ask(DispProjection, "", QuestionTimeoutMs) &&
                    Reconstruct(volumeB, filterB, filterBWin, 20, '2', bitmap3Win, bitmap3, "second file, row 20")) {
                    if (tool)
                        Check(RunTool(tool, "compare " + Quoted(bitmap3) + " --picture " + Quoted(drawing)) == 0,
                              "quorvel_data measures the slice saved there against the drawing");
                    TypeLine("n");
                    if (Ask(Retry, "n", QuestionTimeoutMs)) {
                        long status = WaitForExit(60000);
                        Check(status == 0, "the program ends with exit status 0 after \"n\" twice");
                    }
                }
            }
        }
    }
    KillProgram();
}

int main(int argc, char **argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 3) {
        printf("usage: end_to_end_test QUORVEL_EXE WORK_FOLDER [SAMPLES_FOLDER [DATA_TOOL]]\n");
        return 2;
    }
    Exe = argv[1];
    Work = argv[2];
    Samples = argc > 3 ? argv[3] : NULL;
    Tool = argc > 4 ? argv[4] : NULL;
    return RUN_ALL_TESTS();
}
