// Hostile input through the running program, driven from outside as a user would: wrong
// files, nonsense answers, windows closed at odd moments and absurd data. One row per case;
// each row checks what the user sees and leaves the program in a known state, and the next
// row goes on from there, so that the program is shown to keep working. Rows that end the
// program run in a program of their own.
//
// Usage: hostile_input_test QUORVEL_EXE WORK_FOLDER [FIRST [LAST]]   (Linux paths; under Wine)
//        hostile_input_test --table                   (the cases as a Markdown table)
#include <windows.h>

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>
#include <stdio.h>
#include <string.h>

#include "console/input_line.h"
#include "recon/dialogue_text.h"
#include "recon/sinogram_file.h"
#include "recon/working_arrays.h"
#include "support/driver_checks.h"
#include "support/expected_pictures.h"
#include "tools/program_driver/dialogue_driver.h"

const int StepMs = 90000;              // a question may follow a whole reconstruction
const int StaysOpenMs = 1500;          // how long a dialog that must stay open is watched
const int ExitMs = 30000;              // time for the program to end
const int PollMs = 20;                 // how often a closing dialog is looked at
const unsigned Yellow = 0xFFFF00u;     // the filter curve, as 0xRRGGBB
const int PathCharsNear260 = 250;      // the long path's length in the program's terms
const int JapaneseCodePage = 932;
const int FilterNumbers = 10000;

// Where the program is between rows.
enum State {
    StateUnknown, AtVolumeDialog, AtDisplayProjection, AtSliceQuestion, AtFilterQuestion, AtFilterDialog,
    Ended
};

struct HostileCase {
    const char *kind;     // files, answers, timing or data
    const char *tried;    // the input
    const char *outcome;  // what the program does, as the user sees it
    State from, to;       // where the row starts and leaves the program
    int (*run)();         // drives and checks; 0 when a step did not come
};

static const char *Work;               // Linux path of the work folder
static int FirstRow, LastRow;          // the rows to run, counted from 1
static char Text[1024];                // the text of the message box answered last
static const char Notes[] = "Sinogram of the head phantom, slice rows 0 to 86.\r\nAsk the teacher for the filter.\r\n";

// ---- Files, by name in the work folder ----

static void Unix(const char *name, char *out) { snprintf(out, MAX_PATH, "%s/%s", Work, name); }

// The program's (Windows) path of a work file; names may be code page 932 text.
static const char *Win(const char *name) {
    static char paths[4][MAX_PATH];
    static int next;
    char unix[MAX_PATH];
    Unix(name, unix);
    char *out = paths[next++ % 4];
    snprintf(out, MAX_PATH, "%s", WinePath(unix).c_str());
    return out;
}

static void SetFileSize(const char *name, LONGLONG size) {
    HANDLE file = CreateFileA(Win(name), GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    LARGE_INTEGER at;
    at.QuadPart = size;
    SetFilePointerEx(file, at, NULL, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

static void WriteText(const char *name, const char *text) {
    FILE *file = fopen(Win(name), "wb");
    if (file) {
        fputs(text, file);
        fclose(file);
    }
}

static void WriteFilterNumbers(const char *name) {
    FILE *file = fopen(Win(name), "w");
    if (!file) return;
    // The first 128 alternate -1.5 and -1.0; the numbers after them would show far higher.
    for (int i = 0; i < FilterNumbers; ++i) fprintf(file, "%g\n", i >= FilterTapCount ? 7.0 : i % 2 ? -1.0 : -1.5);
    fclose(file);
}

static void WriteHugeTaps(const char *name) {
    FILE *file = fopen(Win(name), "w");
    if (!file) return;
    for (int i = 0; i < FilterTapCount; ++i) fputs(i % 2 ? "-1e308\n" : "1e308\n", file);
    fclose(file);
}

// "deep\\..." folders under the work folder until the volume's path has about 250 characters.
static char DeepVolume[MAX_PATH];   // its name relative to the work folder
static void MakeDeepVolume() {
    char relative[MAX_PATH] = "";
    const char *component = "a_rather_long_folder_name_0123456789";
    while (strlen(Win(relative)) + strlen(component) + 1 + strlen("\\near260.sino") < PathCharsNear260) {
        strcat(relative, relative[0] ? "/" : "");
        strcat(relative, component);
        CreateDirectoryA(Win(relative), NULL);
    }
    size_t room = PathCharsNear260 - strlen(Win(relative)) - strlen("\\.sino");
    char name[MAX_PATH];
    memset(name, 'n', room);
    name[room] = 0;
    snprintf(DeepVolume, sizeof DeepVolume, "%s/%s.sino", relative, name);
    CopyFileA(Win("disc_a.sino"), Win(DeepVolume), FALSE);
}

// In code page 932: the folder "ソフト表示", the volume "データ.sino", the filter
// "フィルタ.txt" and the picture "表示.bmp"; two of them hold a byte equal to '\'.
const char JapaneseFolder[] = "\x83\x5c\x83\x74\x83\x67\x95\x5c\x8e\xa6";
static char JapaneseVolume[64], JapaneseFilter[64], JapanesePicture[64];
static void MakeJapaneseFiles() {
    snprintf(JapaneseVolume, sizeof JapaneseVolume, "%s/\x83\x66\x81\x5b\x83\x5e.sino", JapaneseFolder);
    snprintf(JapaneseFilter, sizeof JapaneseFilter, "%s/\x83\x74\x83\x42\x83\x8b\x83\x5e.txt", JapaneseFolder);
    snprintf(JapanesePicture, sizeof JapanesePicture, "%s/\x95\x5c\x8e\xa6.bmp", JapaneseFolder);
    CreateDirectoryA(Win(JapaneseFolder), NULL);
    CopyFileA(Win("disc_a.sino"), Win(JapaneseVolume), FALSE);
    CopyFileA(Win("ramp.txt"), Win(JapaneseFilter), FALSE);
}

static void MakeFiles() {
    WriteDiscVolume(Win("disc_a.sino"), 0.0);
    WriteRampFilter(Win("ramp.txt"));
    CreateDirectoryA(Win("folder"), NULL);
    WriteText("empty.sino", "");
    WriteText("empty.txt", "");
    CopyFileA(Win("disc_a.sino"), Win("short.sino"), FALSE);
    SetFileSize("short.sino", SinogramFileBytes - 1);
    WriteText("notes.txt", Notes);
    CopyFileA(Win("disc_a.sino"), Win("sparse.sino"), FALSE);
    SetFileSize("sparse.sino", 5LL << 30);
    WriteFilterNumbers("numbers.txt");
    WriteHugeTaps("huge_taps.txt");
    WriteUniformVolume(Win("nan.sino"), NAN);
    WriteUniformVolume(Win("plus_inf.sino"), INFINITY);
    WriteUniformVolume(Win("minus_inf.sino"), -INFINITY);
    WriteUniformVolume(Win("negative.sino"), -5.0f);
    WriteUniformVolume(Win("zeros.sino"), 0.0f);
    MakeDeepVolume();
    MakeJapaneseFiles();
}

// ---- Steps ----

// Whether the console's last lines, newest last, are these; if not, they are shown.
static int EndsWith(const char *const *lines, int count) {
    if (!ReadConsoleText()) return 0;
    int same = DriverLineCount >= count;
    for (int i = 0; i < count && same; ++i) same = strcmp(DriverLines[DriverLineCount - count + i], lines[i]) == 0;
    for (int i = DriverLineCount - count; !same && i < DriverLineCount; ++i)
        if (i >= 0) printf("    console: \"%s\"\n", DriverLines[i]);
    return same;
}

// Saves the picture through the menu into a work file, made anew.
static int SavePicture(const char *name) {
    DeleteFileA(Win(name));
    return SaveGraphic(Win(name));
}

static int Box(const char *expected) {
    Text[0] = 0;
    int ok = AnswerMessageBox("Tesmira Message", Text, sizeof Text, IDOK, StepMs);
    char message[1200];
    snprintf(message, sizeof message, "the box says \"%s\" (it says \"%s\")", expected, Text);
    Check(ok && strcmp(Text, expected) == 0, message);
    return ok;
}

static int Dialog(const char *path) {
    int ok = AnswerFileDialog(path, StepMs);
    Check(ok, "a file dialog opens");
    return ok;
}

// A volume the program refuses: its box, then Enter at the prompt brings the dialog back.
static int RefusedVolume(const char *name, long size) {
    char expected[512];
    snprintf(expected, sizeof expected, "The sinogram file is too short: %ld bytes, %ld needed\n%s", size,
             SinogramFileBytes, Win(name));
    return Dialog(Win(name)) && Box(expected) && Ask(ChooseAgain, "", StepMs);
}

// The volume chosen has loaded: the largest count as the core finds it, then "Disp Projection ".
static int Loaded(const char *name) {
    LoadSinogramVolume(Win(name));
    FindMaxCount();
    char maxLine[80];
    snprintf(maxLine, sizeof maxLine, " max count = %lf", (double)MaxCount);
    if (!Ask(DispProjection, NULL, StepMs)) return 0;
    const char *lines[] = {maxLine, "", "Disp Projection "};
    Check(EndsWith(lines, 3), maxLine);
    printf("    console: \"%s\"\n", maxLine);
    return 1;
}

static int LoadedVolume(const char *name) { return Dialog(Win(name)) && Loaded(name); }

// From "Disp Projection " through slice row 40 to the filter dialog.
static int ToFilterDialog() {
    TypeLine("y 40 y y y");
    return 1;
}

// From the filter's "OK ?" through the method and the final image to the review question.
static int ThroughReconstruction(char method) {
    char answer[8] = {'y', ' ', method, 0};
    return Ask(FilterOkQuestion, answer, StepMs) &&
           Ask(DispFiltered, "", StepMs) &&
           Ask(ChangeSlice, NULL, StepMs);
}

// The final image on the picture must be the core's for the same files.
static void CheckFinalImage(const char *volume, const char *filter, char method, const char *pictureName) {
    Check(SavePicture(pictureName), "the picture is saved through the menu");
    ExpectedReconstruction(Win(volume), Win(filter), 40, method);
    char first[160], message[300];
    int mismatches = FinalImageMismatches(Win(pictureName), first, sizeof first);
    snprintf(message, sizeof message, "the final image is the core's: %d pixels differ%s (%d lit)", mismatches, first,
             LitFinalPixels());
    Check(mismatches == 0, message);
    printf("    final image: %d of %d pixels lit\n", LitFinalPixels(), ImageSide * ImageSide);
}

// From the review question on to a new file: "n", then any reply at "Retry?".
static int ToVolumeDialog() {
    TypeLine("n");
    return Ask(Retry, "", StepMs);
}

// A volume loaded, reconstructed with the ramp filter by method and compared, then a new file.
static int Reconstructed(const char *volume, char method) {
    return LoadedVolume(volume) && ToFilterDialog() && Dialog(Win("ramp.txt")) && ThroughReconstruction(method) &&
           (CheckFinalImage(volume, "ramp.txt", method, "final.bmp"), ToVolumeDialog());
}

// A filter file whose plot shows `onCurve` yellow and `offCurve` not; "n" asks again.
static int FilterPlotted(const char *name, int onCurveY, int offCurveY) {
    if (!Dialog(Win(name)) || !Ask(FilterOkQuestion, NULL, StepMs)) return 0;
    Check(SavePicture("filter.bmp") && LoadSavedPicture(Win("filter.bmp")), "the picture is saved");
    char message[160];
    snprintf(message, sizeof message, "the curve starts at y %d (%06X there), not at y %d (%06X there)", onCurveY,
             SavedPixel(600, onCurveY), offCurveY, SavedPixel(600, offCurveY));
    Check(SavedPixel(600, onCurveY) == Yellow && SavedPixel(600, offCurveY) != Yellow, message);
    TypeLine("n");
    return Ask(LoadFilterAsk, "", StepMs);
}

static int Ends(int status) {
    long ended = WaitForExit(ExitMs);
    char message[80];
    snprintf(message, sizeof message, "the program ends with status %d (%ld)", status, ended);
    Check(ended == status, message);
    return ended == status;
}

// ---- The rows ----

static int FolderAsVolume() {
    HWND dialog = WaitForFileDialog(NULL, StepMs);
    Check(dialog != NULL, "the open dialog is shown");
    if (!dialog) return 0;
    SubmitFileDialog(dialog, Win("folder"));
    Sleep(StaysOpenMs);
    Check(IsWindow(dialog) && WaitForFileDialog(NULL, 0) == dialog, "the same dialog stays open");
    return 1;
}

static int EmptyVolume() { return RefusedVolume("empty.sino", 0); }
static int ShortVolume() { return RefusedVolume("short.sino", SinogramFileBytes - 1); }
static int TextAsVolume() { return RefusedVolume("notes.txt", (long)strlen(Notes)); }

// Answers the open dialog with a volume and posts a message at once, so that the
// program takes it at its first pump: while the volume loads.
static int DuringLoad(UINT message, WPARAM wParam) {
    HWND dialog = WaitForFileDialog(NULL, StepMs);
    Check(dialog != NULL, "the open dialog is shown");
    if (!dialog) return 0;
    SubmitFileDialog(dialog, Win("disc_a.sino"));
    PostToConsole(message, wParam);
    // What follows must not take the closing dialog for a new one.
    for (int waited = 0; IsWindow(dialog) && waited < StepMs; waited += PollMs) Sleep(PollMs);
    return 1;
}

static int PictureSavedDuringFirstLoad() {
    if (!DuringLoad(WM_COMMAND, 7)) return 0;
    return Box("Graphic window is not displayed.") && Loaded("disc_a.sino");
}

static int TextSavedDuringDrawing() {
    TypeLine("");
    PostToConsole(WM_COMMAND, 6);
    char unix[MAX_PATH];
    Unix("during_drawing.txt", unix);
    DeleteFileA(Win("during_drawing.txt"));
    Check(AnswerSave(Win("during_drawing.txt"), "Saved TextBuffer"), "the text is saved while the gallery is drawn");
    FILE *file = fopen(Win("during_drawing.txt"), "rb");
    char saved[8192] = "";
    if (file) {
        saved[fread(saved, 1, sizeof saved - 1, file)] = 0;
        fclose(file);
    }
    size_t length = strlen(saved);
    const char *tail = "Disp Projection \r\n\r\n";
    Check(length >= strlen(tail) && strcmp(saved + length - strlen(tail), tail) == 0,
          "the saved text ends with the answered question");
    return Ask(SelectSlice, NULL, StepMs);
}

static int OutOfRangeSlices() {
    const char *answers[] = {"87", "-1", "99999999999"};
    for (const char *answer : answers) {
        TypeLine(answer);
        char echo[64];
        snprintf(echo, sizeof echo, "select slice = %s", answer);
        const char *lines[] = {echo, "", "", "select slice = "};
        if (!Ask(SelectSlice, NULL, StepMs)) return 0;
        Check(EndsWith(lines, 4), echo);
    }
    // "1e3" reads as 1, a row of the file: its confirmation comes; "n" goes back.
    TypeLine("1e3");
    return Ask(SelectOk, "n", StepMs) && Ask(SelectSlice, NULL, StepMs);
}

// Answers the slice question with codes, expects `echo` and the confirmation, then "n".
static int SliceTyped(const unsigned char *codes, int count, const char *echo) {
    TypeCodes(codes, count);
    TypeLine("");
    if (!Ask(SelectOk, NULL, StepMs)) return 0;
    const char *lines[] = {echo, "", "", "select slice OK ? "};
    Check(EndsWith(lines, 4), echo);
    TypeLine("n");
    return Ask(SelectSlice, NULL, StepMs);
}

static int NonNumericSlice() {
    const unsigned char codes[] = {'a', 'b', 'c'};
    return SliceTyped(codes, 3, "select slice = abc");
}

static int ControlCharacters() {
    const unsigned char codes[] = {'4', 1, 7, 9, 27, 31, 127, '0'};
    return SliceTyped(codes, sizeof codes, "select slice = 4\x7f" "0");
}

static int CodeZero() {
    const unsigned char codes[] = {'4', 0, '9'};
    return SliceTyped(codes, 3, "select slice = 4");
}

static int LongLine() {
    unsigned char codes[InputLineMax + 20];
    codes[0] = '4';
    codes[1] = '0';
    memset(codes + 2, 'x', InputLineMax - 2);
    memset(codes + InputLineMax, 'y', 20);  // beyond the longest line: ignored
    TypeCodes(codes, sizeof codes);
    TypeLine("");
    if (!Ask(SelectOk, NULL, StepMs)) return 0;
    // The echo: "select slice = 40", then x up to 511 typed characters, in lines of 160.
    char first[161], full[161], last[161];
    snprintf(first, sizeof first, "select slice = 40");
    memset(first + 17, 'x', 160 - 17);
    first[160] = 0;
    memset(full, 'x', 160);
    full[160] = 0;
    int rest = 15 + InputLineMax - 3 * 160;
    memset(last, 'x', rest);
    last[rest] = 0;
    const char *lines[] = {first, full, full, last, "", "", "select slice OK ? "};
    Check(EndsWith(lines, 7), "the echo holds the 511 characters typed, in lines of 160, and none beyond");
    TypeLine("n");
    return Ask(SelectSlice, NULL, StepMs);
}

static int PictureSavedDuringDrawing() {
    TypeLine("40");
    if (!Ask(SelectOk, "n", StepMs)) return 0;
    PostToConsole(WM_COMMAND, 7);
    DeleteFileA(Win("during_drawing.bmp"));
    Check(AnswerSave(Win("during_drawing.bmp"), " Saved Graphic "), "the picture is saved while it is drawn");
    Check(LoadSavedPicture(Win("during_drawing.bmp")), "a whole picture is written");
    return Ask(SelectSlice, NULL, StepMs);
}

static int TypeAhead() {
    TypeLine("40 y y");
    if (!Ask(LoadFilterAsk, NULL, StepMs)) return 0;
    // The echo's line is closed by the next question, as no newline follows a line with a rest.
    const char *lines[] = {"select slice = 40 y y", "", "select slice OK ? ", "Reconstruction slice OK? ",
                           "(yes: enter, no: n) ", "", "", " Load Real space Filter "};
    Check(EndsWith(lines, 8), "one echo, then each question answered from the line typed ahead");
    return 1;
}

static int BackspaceOnEmptyLine() {
    const unsigned char codes[] = {8, 8, 16};
    TypeCodes(codes, 3);
    const char *lines[] = {" Load Real space Filter "};
    Check(EndsWith(lines, 1), "the question stays as it was");
    TypeLine("");
    return 1;
}

static int BinaryFilter() { return FilterPlotted("disc_a.sino", 300, 315); }
static int EmptyFilter() { return FilterPlotted("empty.txt", 300, 315); }
static int ManyNumbersFilter() { return FilterPlotted("numbers.txt", 315, 300); }

static int HugeTaps() {
    return Dialog(Win("huge_taps.txt")) && ThroughReconstruction('2') &&
           (CheckFinalImage("disc_a.sino", "huge_taps.txt", '2', "huge_taps.bmp"), ToVolumeDialog());
}

static int NanVolume() { return Reconstructed("nan.sino", '2'); }
static int PlusInfinityVolume() { return Reconstructed("plus_inf.sino", '2'); }
static int MinusInfinityVolume() { return Reconstructed("minus_inf.sino", '1'); }
static int NegativeVolume() { return Reconstructed("negative.sino", '2'); }
static int ZeroVolume() { return Reconstructed("zeros.sino", '1'); }

// Loaded, then on through a simple reconstruction to a new file.
static int LoadedAndOn(const char *volume) {
    if (!LoadedVolume(volume) || !ToFilterDialog() || !Dialog(Win("ramp.txt"))) return 0;
    TypeLine("y 1 y n y");
    return 1;
}

static int SparseVolume() { return LoadedAndOn("sparse.sino"); }
static int LongPath() { return LoadedAndOn(DeepVolume); }

static int JapanesePath() {
    if (GetACP() != JapaneseCodePage) {
        printf("    skipped: the program's code page is %u, not 932 (no Japanese locale here)\n", GetACP());
        return LoadedAndOn("disc_a.sino");
    }
    if (!LoadedVolume(JapaneseVolume) || !ToFilterDialog() || !Dialog(Win(JapaneseFilter))) return 0;
    char shown[MAX_PATH + 2];
    snprintf(shown, sizeof shown, " %s ", Win(JapaneseFilter));
    if (!Ask(FilterOkQuestion, NULL, StepMs)) return 0;
    Check(DriverLineCount >= 2 && _stricmp(DriverLines[DriverLineCount - 2], shown) == 0,
          "the filter's path is shown as chosen");
    TypeLine("y 2 y");
    if (!Ask(ChangeSlice, NULL, StepMs)) return 0;
    CheckFinalImage(JapaneseVolume, JapaneseFilter, '2', JapanesePicture);
    return ToVolumeDialog();
}

static int TextSavedDuringLoad() {
    if (!DuringLoad(WM_COMMAND, 6)) return 0;
    DeleteFileA(Win("during_load.txt"));
    Check(AnswerSave(Win("during_load.txt"), "Saved TextBuffer"), "the text is saved while the volume loads");
    return Loaded("disc_a.sino");
}

static int SecondSaveWhileDialogOpen() {
    PostToConsole(WM_COMMAND, 6);
    HWND first = WaitForFileDialog(NULL, StepMs);
    Check(first != NULL, "the first save dialog opens");
    if (!first) return 0;
    PostToConsole(WM_COMMAND, 7);
    HWND second = WaitForFileDialog(first, StepMs);
    Check(second != NULL, "the second save dialog opens over the first");
    if (!second) return 0;
    DeleteFileA(Win("second.bmp"));
    DeleteFileA(Win("first.txt"));
    SubmitFileDialog(second, Win("second.bmp"));
    Check(Box(" Saved Graphic ") && LoadSavedPicture(Win("second.bmp")), "the second save writes the picture");
    SubmitFileDialog(first, Win("first.txt"));
    Check(Box("Saved TextBuffer"), "then the first save writes the text");
    bool exists = GetFileAttributesA(Win("first.txt")) != INVALID_FILE_ATTRIBUTES;
    Check(exists, "the text file is there");
    return Ask(DispProjection, NULL, StepMs);
}

static int StillWorks() {
    if (!ToFilterDialog() || !Dialog(Win("ramp.txt")) || !ThroughReconstruction('2')) return 0;
    CheckFinalImage("disc_a.sino", "ramp.txt", '2', "last.bmp");
    Check(LitFinalPixels() > 1000, "the last reconstruction is no blank picture");
    TypeLine("n");
    return Ask(Retry, "n", StepMs) && Ends(0);
}

// Cases that end the program, each in a program of its own.
static int AtQuestion(UINT message, WPARAM wParam) {
    if (!Dialog("") || !Box("No sinogram file was chosen.")) return 0;
    if (!Ask(ChooseAgain, NULL, StepMs)) return 0;
    PostToConsole(message, wParam);
    return 1;
}

static int ConfirmExit() {
    char text[64] = "";
    int ok = AnswerMessageBox("EXIT?", text, sizeof text, IDOK, StepMs);
    Check(ok && strcmp(text, "\n End ? \n\n") == 0, "the menu's Exit asks \"End ?\"");
    return ok;
}

static int DuringDrawing(UINT message, WPARAM wParam) {
    if (!LoadedVolume("disc_a.sino")) return 0;
    TypeLine("");
    PostToConsole(message, wParam);
    return 1;
}

static int EscapeAtQuestion() { return AtQuestion(WM_KEYDOWN, VK_ESCAPE) && Ends(0); }
static int CloseAtQuestion() { return AtQuestion(WM_CLOSE, 0) && Ends(0); }
static int ExitAtQuestion() { return AtQuestion(WM_COMMAND, 8) && ConfirmExit() && Ends(0); }
static int EscapeDuringLoad() { return DuringLoad(WM_KEYDOWN, VK_ESCAPE) && Ends(0); }
static int CloseDuringLoad() { return DuringLoad(WM_CLOSE, 0) && Ends(0); }
static int ExitDuringLoad() { return DuringLoad(WM_COMMAND, 8) && ConfirmExit() && Ends(0); }
static int EscapeDuringDrawing() { return DuringDrawing(WM_KEYDOWN, VK_ESCAPE) && Ends(0); }
static int CloseDuringDrawing() { return DuringDrawing(WM_CLOSE, 0) && Ends(0); }
static int ExitDuringDrawing() { return DuringDrawing(WM_COMMAND, 8) && ConfirmExit() && Ends(0); }

const HostileCase Cases[] = {
    {"files", "a folder's path typed into the open dialog", "the dialog opens the folder and stays",
     AtVolumeDialog, AtVolumeDialog, FolderAsVolume},
    {"files", "an empty file as the volume",
     "\"The sinogram file is too short: 0 bytes, 11403288 needed\"; Enter asks again",
     AtVolumeDialog, AtVolumeDialog, EmptyVolume},
    {"files", "a volume one byte short", "\"... too short: 11403287 bytes ...\"; nothing loaded; asks again",
     AtVolumeDialog, AtVolumeDialog, ShortVolume},
    {"files", "a text file as the volume", "\"... too short: 84 bytes ...\"; asks again",
     AtVolumeDialog, AtVolumeDialog, TextAsVolume},
    {"timing", "\" Save Graphic File\" while the first volume loads",
     "\"Graphic window is not displayed.\"; the load goes on",
     AtVolumeDialog, AtDisplayProjection, PictureSavedDuringFirstLoad},
    {"timing", "\" Save TextBuffer File\" while the projections are drawn",
     "\"Saved TextBuffer\"; the text up to the answer; drawing goes on",
     AtDisplayProjection, AtSliceQuestion, TextSavedDuringDrawing},
    {"answers", "slices 87, -1, 99999999999 and 1e3", "\"select slice = \" again for each; 1e3 reads as row 1",
     AtSliceQuestion, AtSliceQuestion, OutOfRangeSlices},
    {"answers", "a non-numeric slice (abc)", "read as row 0, as strtol reads it; the confirmation follows",
     AtSliceQuestion, AtSliceQuestion, NonNumericSlice},
    {"answers", "control characters typed amid 40 (codes 1, 7, 9, 27, 31)", "ignored; code 127 is kept as typed",
     AtSliceQuestion, AtSliceQuestion, ControlCharacters},
    {"answers", "code 0 typed amid 49", "the line ends at it: row 4",
     AtSliceQuestion, AtSliceQuestion, CodeZero},
    {"answers", "a 511-character line, then 20 characters more",
     "the 511 are echoed in lines of 160; the rest are ignored",
     AtSliceQuestion, AtSliceQuestion, LongLine},
    {"timing", "\" Save Graphic File\" while the gallery is drawn",
     "\" Saved Graphic \": the picture as far as drawn; drawing goes on",
     AtSliceQuestion, AtSliceQuestion, PictureSavedDuringDrawing},
    {"answers", "type-ahead: 40 y y at the slice question",
     "one echo; both confirmations answered; the filter question waits",
     AtSliceQuestion, AtFilterQuestion, TypeAhead},
    {"answers", "backspace (codes 8 and 16) on an empty line", "nothing changes; Enter opens the filter dialog",
     AtFilterQuestion, AtFilterDialog, BackspaceOnEmptyLine},
    {"files", "a binary file (a volume) as the filter", "no number read: the taps stay (0: a flat curve at y 300)",
     AtFilterDialog, AtFilterDialog, BinaryFilter},
    {"files", "an empty file as the filter", "the taps stay as they were",
     AtFilterDialog, AtFilterDialog, EmptyFilter},
    {"files", "a filter of 10,000 numbers", "the first 128 are the taps; the rest are not read",
     AtFilterDialog, AtFilterDialog, ManyNumbersFilter},
    {"data", "taps of +1e308 and -1e308", "the curve runs off the panel; the image is the core's: black",
     AtFilterDialog, AtVolumeDialog, HugeTaps},
    {"data", "a volume full of NaN", "\"max count = 0.000000\"; black pictures; the dialogue goes on",
     AtVolumeDialog, AtVolumeDialog, NanVolume},
    {"data", "a volume full of +infinity",
     "\"max count = inf\"; black pictures (infinity / infinity is no number)",
     AtVolumeDialog, AtVolumeDialog, PlusInfinityVolume},
    {"data", "a volume full of -infinity", "\"max count = 0.000000\"; black pictures",
     AtVolumeDialog, AtVolumeDialog, MinusInfinityVolume},
    {"data", "a volume of negative counts", "\"max count = 0.000000\"; black pictures",
     AtVolumeDialog, AtVolumeDialog, NegativeVolume},
    {"data", "a volume of zeros", "\"max count = 0.000000\"; black pictures",
     AtVolumeDialog, AtVolumeDialog, ZeroVolume},
    {"files", "a sparse file of 5 GB starting with a volume", "loads the volume; the rest is ignored",
     AtVolumeDialog, AtVolumeDialog, SparseVolume},
    {"files", "a path of 250 characters", "loads; the dialogue goes on",
     AtVolumeDialog, AtVolumeDialog, LongPath},
    {"files", "Japanese folder and file names (code page 932)",
     "loads; the path is shown as chosen; the picture saves there",
     AtVolumeDialog, AtVolumeDialog, JapanesePath},
    {"timing", "\" Save TextBuffer File\" while a later volume loads", "\"Saved TextBuffer\"; the load goes on",
     AtVolumeDialog, AtDisplayProjection, TextSavedDuringLoad},
    {"timing", "a second save while a save dialog is open", "a second dialog over the first; both save, newest first",
     AtDisplayProjection, AtDisplayProjection, SecondSaveWhileDialogOpen},
    {"answers", "after all of the above: a filtered reconstruction, then n twice", "the image is the core's; status 0",
     AtDisplayProjection, Ended, StillWorks},
    {"timing", "Escape at a question", "the program ends, status 0", AtVolumeDialog, Ended, EscapeAtQuestion},
    {"timing", "the close box at a question", "the program ends, status 0", AtVolumeDialog, Ended, CloseAtQuestion},
    {"timing", "the menu's Exit at a question", "\"End ?\"; OK ends the program, status 0", AtVolumeDialog, Ended,
     ExitAtQuestion},
    {"timing", "Escape while a volume loads", "the program ends, status 0", AtVolumeDialog, Ended, EscapeDuringLoad},
    {"timing", "the close box while a volume loads", "the program ends, status 0", AtVolumeDialog, Ended,
     CloseDuringLoad},
    {"timing", "the menu's Exit while a volume loads", "\"End ?\"; OK ends the program, status 0", AtVolumeDialog,
     Ended, ExitDuringLoad},
    {"timing", "Escape while the gallery is drawn", "the program ends, status 0", AtVolumeDialog, Ended,
     EscapeDuringDrawing},
    {"timing", "the close box while the gallery is drawn", "the program ends, status 0", AtVolumeDialog, Ended,
     CloseDuringDrawing},
    {"timing", "the menu's Exit while the gallery is drawn", "\"End ?\"; OK ends the program, status 0",
     AtVolumeDialog, Ended, ExitDuringDrawing},
};
const int CaseCount = sizeof Cases / sizeof Cases[0];

// Brings a freshly started program to a row's starting point.
static int Reach(State state) {
    if (state == AtVolumeDialog) return 1;
    if (!LoadedVolume("disc_a.sino")) return 0;
    if (state == AtDisplayProjection) return 1;
    TypeLine("");
    if (!Ask(SelectSlice, NULL, StepMs)) return 0;
    if (state == AtSliceQuestion) return 1;
    TypeLine("40 y y");
    if (!Ask(LoadFilterAsk, NULL, StepMs)) return 0;
    if (state == AtFilterQuestion) return 1;
    TypeLine("");
    return 1;
}

static void PrintTable() {
    printf("| kind | input tried | what the program does |\n|---|---|---|\n");
    for (const HostileCase &c : Cases) printf("| %s | %s | %s |\n", c.kind, c.tried, c.outcome);
}

static const char *Exe;   // the program driven

// The rows in order, each under its own trace; a row whose starting point is not where the
// row before left the program starts it afresh.
TEST(HostileInput, EachRowShowsWhatTheUserSeesAndKeepsTheProgramWorking) {
    CreateDirectoryA(Work, NULL);
    MakeFiles();
    printf("code page %u\n", GetACP());
    int failedRows = 0;
    State state = StateUnknown;
    for (int i = FirstRow - 1; i < LastRow && i < CaseCount; ++i) {
        const HostileCase &c = Cases[i];
        char row[300];
        snprintf(row, sizeof row, "row %d (%s): %s", i + 1, c.kind, c.tried);
        SCOPED_TRACE(row);
        DWORD start = GetTickCount();
        CheckFailures = 0;
        DriverFailure[0] = 0;
        if (state != c.from) {
            KillProgram();
            WaitForExit(ExitMs);
            Check(StartProgram(Exe, Work), "the program starts");
            Check(!CheckFailures && Reach(c.from), "the row's starting point is reached");
        }
        int ok = !CheckFailures && c.run();
        state = ok && !CheckFailures ? c.to : StateUnknown;
        if (CheckFailures) ++failedRows;
        printf("%s %2d %-7s %s (%.1f s)\n", CheckFailures ? "FAIL" : "ok  ", i + 1, c.kind, c.tried,
               (GetTickCount() - start) / 1000.0);
        fflush(stdout);
    }
    KillProgram();
    printf("%d of %d cases failed\n", failedRows, CaseCount);
}

int main(int argc, char **argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc == 2 && strcmp(argv[1], "--table") == 0) {
        PrintTable();
        return 0;
    }
    if (argc < 3) {
        printf("usage: hostile_input_test QUORVEL_EXE WORK_FOLDER [FIRST [LAST]] | --table\n");
        return 2;
    }
    Exe = argv[1];
    Work = argv[2];
    FirstRow = argc > 3 ? atoi(argv[3]) : 1;
    LastRow = argc > 4 ? atoi(argv[4]) : CaseCount;
    return RUN_ALL_TESTS();
}
