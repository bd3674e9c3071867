// The shipped program driven through its whole dialogue from outside, as a user would:
// two generated sinogram files, both methods, a second slice and a second file. Each
// final image, saved through the menu, must equal pixel for pixel what the platform-free
// core computes for the same inputs, and the console text must be the expected dialogue.
// Given a samples folder, it uses head.sino, rods_poisson.sino and ramp.txt from there
// instead of generated files.
//
// Usage: end_to_end_test QUORVEL_EXE WORK_FOLDER [SAMPLES_FOLDER]   (Linux paths; run under Wine)
#include <windows.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "app/dialogue_driver.h"
#include "fakes/fakes.h"
#include "graphics/gray_level.h"
#include "recon/backprojection.h"
#include "recon/filter_file.h"
#include "recon/gap_filling.h"
#include "recon/projection_views.h"
#include "recon/sinogram_file.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"

const int QuestionTimeoutMs = 180000;  // a reconstruction may take a while under Wine
const long BitmapBytes = 2880054;
const double Pi = 3.14159265358979323846;

static int Failures;   // checks that failed
static int Passes;     // checks that held

static void Check(int condition, const char *what) {
    if (condition) {
        ++Passes;
        return;
    }
    ++Failures;
    printf("FAILED: %s%s%s\n", what, DriverFailure[0] ? " -- " : "", DriverFailure);
    DriverFailure[0] = 0;
}

// A volume of discs whose positions drift with the slice: a large warm disc holding hot
// and cold ones, placed asymmetrically, so that slices, angles and both halves of a picture
// all differ. Each bin holds the exact chord integral at its centre, plus a faint tilt.
static void WriteVolume(const char *path, double shift) {
    static float slice[Angles][Bins];
    FILE *file = fopen(path, "wb");
    char header[24] = "E2E TEST VOLUME";
    fwrite(header, 1, sizeof header, file);
    for (int s = 0; s < Slices; ++s) {
        const double discs[4][4] = {{0.0, 0.0, 70.0, 1.0},   // x, y, radius, density
                                    {-30.0 + 0.3 * s + shift, 20.0, 12.0, 4.0},
                                    {25.0, -15.0 - 0.2 * s, 15.0, -0.8},
                                    {10.0 - shift, 45.0, 5.0, 8.0}};
        for (int a = 0; a < Angles; ++a) {
            double theta = a * AngleStepDegrees * RadiansPerDegree;
            for (int r = 0; r < Bins; ++r) {
                double value = 0.01 * r + 0.1 * (a % 5);
                for (int k = 0; k < 4; ++k) {
                    double d = (r - 127.5) - (discs[k][0] * cos(theta) + discs[k][1] * sin(theta));
                    if (fabs(d) < discs[k][2]) value += discs[k][3] * 2.0 * sqrt(discs[k][2] * discs[k][2] - d * d);
                }
                slice[a][r] = (float)value;
            }
        }
        fwrite(slice, sizeof(float), Angles * Bins, file);
    }
    fclose(file);
}

static void WriteRampFilter(const char *path) {
    FILE *file = fopen(path, "w");
    for (int n = 0; n < FilterTapCount; ++n) {
        double tap = n == 0 ? 2.5 : (n % 2 ? -10.0 / (Pi * Pi * n * n) : 0.0);
        fprintf(file, "%.9g\n", tap);
    }
    fclose(file);
}

// What the program must show: the core's reconstruction of the same inputs.
static void ExpectedReconstruction(const char *volume, const char *filter, int n, char method) {
    LoadSinogramVolume(volume);
    FindMaxCount();
    ExtractSlice(n);
    ReadFilterTaps(filter);
    BackprojectAngles(method);
    for (int a = 0; a < Angles; ++a) {
        FillGaps(a);
        ClipNegatives(a);
    }
    SumAngles();
    FindReconMax();
    SubtractBackground();
    FindDisplayMax();
}

// Compares the final-image region of a saved bitmap with the expected reconstruction.
static void CheckFinalImage(const char *bitmapPath, const char *what) {
    static unsigned char bitmap[BitmapBytes + 1];
    FILE *file = fopen(bitmapPath, "rb");
    long size = file ? (long)fread(bitmap, 1, sizeof bitmap, file) : 0;
    if (file) fclose(file);
    char message[256];
    snprintf(message, sizeof message, "%s: the saved picture is a %ld-byte bitmap", what, BitmapBytes);
    Check(size == BitmapBytes && bitmap[0] == 'B' && bitmap[1] == 'M', message);
    if (size != BitmapBytes) return;
    int mismatches = 0;
    char first[160] = "";
    for (int i = 0; i < ImageSide; ++i) {
        int q = ImageSide - 1 - i;
        for (int p = 0; p < ImageSide; ++p) {
            int grey = GrayLevel(ReconImage[p][q], DisplayMax);
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    int x = 2 * p + dx, y = 140 + 2 * i + dy;
                    const unsigned char *bgr = bitmap + 54 + (long)(799 - y) * 3600 + 3L * x;
                    if (bgr[0] != grey || bgr[1] != grey || bgr[2] != grey) {
                        if (!mismatches++)
                            snprintf(first, sizeof first, " (first at x %d y %d: %d,%d,%d, expected %d)", x, y,
                                     bgr[0], bgr[1], bgr[2], grey);
                    }
                }
        }
    }
    snprintf(message, sizeof message, "%s: final image equals the core's result, %d pixels differ%s", what,
             mismatches, first);
    Check(mismatches == 0, message);
    int lit = 0;
    for (int p = 0; p < ImageSide; ++p)
        for (int q = 0; q < ImageSide; ++q) lit += GrayLevel(ReconImage[p][q], DisplayMax) > 0;
    snprintf(message, sizeof message, "%s: the expected image is not blank (%d lit pixels)", what, lit);
    Check(lit > 1000, message);
}

static int Ask(const char *lastLine, const char *lineBefore, const char *answer) {
    int ok = WaitForPrompt(lastLine, lineBefore, QuestionTimeoutMs);
    char message[256];
    snprintf(message, sizeof message, "question \"%s\" is asked", lastLine);
    Check(ok, message);
    if (ok && answer) TypeLine(answer);
    return ok;
}

// From the slice question to the final image, then the bitmap check.
static int Reconstruct(const char *volume, const char *filter, const char *filterWin, int n, char method,
                       const char *bitmapWin, const char *bitmapUnix, const char *what) {
    char slice[16], methodText[2] = {method, 0};
    snprintf(slice, sizeof slice, "%d", n);
    if (!Ask("select slice = ", NULL, slice)) return 0;
    if (!Ask("select slice OK ? ", NULL, "")) return 0;
    if (!Ask("(yes: enter, no: n) ", "Reconstruction slice OK? ", "")) return 0;
    if (!Ask(" Load Real space Filter ", NULL, "")) return 0;
    Check(AnswerFileDialog(filterWin, QuestionTimeoutMs), "the filter's open dialog is answered");
    if (!Ask(" OK ? (yes; enter, no; n ) ", NULL, "")) return 0;
    if (!Ask(" ", " 2: Filtered BackProjection ", methodText)) return 0;
    if (!Ask(" Disp Filtered Pth * Filter ", NULL, "")) return 0;
    if (!Ask(" (yes: enter, no: n) ", " Change Reconstruction Slice ? ", NULL)) return 0;
    Check(SaveGraphic(bitmapWin), "the picture is saved through the menu");
    ExpectedReconstruction(volume, filter, n, method);
    CheckFinalImage(bitmapUnix, what);
    return 1;
}

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

int main(int argc, char **argv) {
    if (argc < 3) {
        printf("usage: end_to_end_test QUORVEL_EXE WORK_FOLDER [SAMPLES_FOLDER]\n");
        return 2;
    }
    const char *exe = argv[1], *work = argv[2], *samples = argc > 3 ? argv[3] : NULL;
    CreateDirectoryA(work, NULL);
    char volumeA[MAX_PATH], volumeB[MAX_PATH], filter[MAX_PATH], bitmap1[MAX_PATH], bitmap2[MAX_PATH],
        bitmap3[MAX_PATH];
    const char *inputs = samples ? samples : work;   // the folder of the volumes and the filter
    snprintf(volumeA, sizeof volumeA, "%s/%s", inputs, samples ? "head.sino" : "volume_a.sino");
    snprintf(volumeB, sizeof volumeB, "%s/%s", inputs, samples ? "rods_poisson.sino" : "volume_b.sino");
    snprintf(filter, sizeof filter, "%s/ramp.txt", inputs);
    snprintf(bitmap1, sizeof bitmap1, "%s/simple_40.bmp", work);
    snprintf(bitmap2, sizeof bitmap2, "%s/filtered_50.bmp", work);
    snprintf(bitmap3, sizeof bitmap3, "%s/second_file_20.bmp", work);
    char volumeAWin[MAX_PATH], volumeBWin[MAX_PATH], filterWin[MAX_PATH], bitmap1Win[MAX_PATH],
        bitmap2Win[MAX_PATH], bitmap3Win[MAX_PATH];
    WindowsPath(volumeA, volumeAWin, MAX_PATH);
    WindowsPath(volumeB, volumeBWin, MAX_PATH);
    WindowsPath(filter, filterWin, MAX_PATH);
    WindowsPath(bitmap1, bitmap1Win, MAX_PATH);
    WindowsPath(bitmap2, bitmap2Win, MAX_PATH);
    WindowsPath(bitmap3, bitmap3Win, MAX_PATH);
    for (const char *old : {bitmap1, bitmap2, bitmap3}) DeleteFileA(old);
    if (!samples) {
        WriteVolume(volumeA, 0.0);
        WriteVolume(volumeB, 12.0);
        WriteRampFilter(filter);
    }
    char maxLine[64];
    LoadSinogramVolume(volumeA);
    FindMaxCount();
    snprintf(maxLine, sizeof maxLine, " max count = %lf", (double)MaxCount);

    Check(StartProgram(exe, work), "the program starts and titles its console \"Quorvel\"");
    if (Failures) return 1;
    Check(AnswerFileDialog(volumeAWin, QuestionTimeoutMs), "the sinogram's open dialog is answered");
    if (Ask("Disp Projection ", NULL, "")) {
        // First pass: simple backprojection; then another slice through the review question.
        if (Reconstruct(volumeA, filter, filterWin, 40, '1', bitmap1Win, bitmap1, "simple, slice row 40")) {
            CheckTranscript(filterWin, maxLine);
            TypeLine("");
        }
        // Second pass: filtered backprojection of another slice; then on to a new file.
        if (Reconstruct(volumeA, filter, filterWin, 50, '2', bitmap2Win, bitmap2, "filtered, slice row 50")) {
            TypeLine("n");
            if (Ask(" Retry? (no:n) ", NULL, "")) {
                Check(AnswerFileDialog(volumeBWin, QuestionTimeoutMs), "the second sinogram's dialog is answered");
                if (Ask("Disp Projection ", NULL, "") &&
                    Reconstruct(volumeB, filter, filterWin, 20, '2', bitmap3Win, bitmap3, "second file, row 20")) {
                    TypeLine("n");
                    if (Ask(" Retry? (no:n) ", NULL, "n")) {
                        long status = WaitForExit(60000);
                        Check(status == 0, "the program ends with exit status 0 after \"n\" twice");
                    }
                }
            }
        }
    }
    KillProgram();
    printf("%d passed, %d failed\n", Passes, Failures);
    return Failures ? 1 : 0;
}
