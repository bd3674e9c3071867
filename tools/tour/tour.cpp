// A picture tour: runs the whole dialogue on a sample volume, once with each method,
// and saves the picture at every stage as a bitmap, for the documents and for teachers.
// With a lesson folder it then reconstructs row 43 of each of its volumes by each of its
// methods and saves each final picture there as VOLUME-METHOD.bmp; each further triple
// of arguments is another lesson, in a run of the program of its own.
//
// Usage: quorvel_tour QUORVEL_EXE SAMPLES_FOLDER TOUR_FOLDER
//                     [LESSON_FOLDER "VOLUME..." "METHOD..."]...   (Linux paths; run under Wine)
// The samples folder must hold head.sino and ramp.txt from the sample generator. The
// lesson folder holds VOLUME.sino for each volume and METHOD.txt for each method but
// "simple", which is simple backprojection.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "recon/dialogue_prompts.h"
#include "tools/program_driver/dialogue_driver.h"

const int StepTimeoutMs = 180000;

static const char *TourFolder;      // Linux path of the folder the pictures go to
static const char *PictureFolder;   // the tour folder, or the lesson folder in the lesson
static int Failed;                  // a step did not come

static void Picture(const char *name) {
    char unixPath[MAX_PATH], windowsPath[MAX_PATH];
    snprintf(unixPath, sizeof unixPath, "%s/%s.bmp", PictureFolder, name);
    DeleteFileA(unixPath);
    snprintf(windowsPath, sizeof windowsPath, "%s", WinePath(unixPath).c_str());
    if (SaveGraphic(windowsPath)) {
        printf("saved %s\n", unixPath);
    } else {
        printf("could not save %s: %s\n", name, DriverFailure);
        Failed = 1;
    }
}

// The whole screen as the student sees it, both windows included, as a 24-bit bitmap.
static void Screenshot(const char *name) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    void *pixels = NULL;
    HBITMAP section = CreateDIBSection(screen, (BITMAPINFO *)&info, DIB_RGB_COLORS, &pixels, NULL, 0);
    HGDIOBJ kept = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, kept);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    DWORD stride = ((DWORD)width * 3 + 3) & ~3u, size = stride * (DWORD)height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + size;
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s/%s.bmp", TourFolder, name);
    FILE *out = fopen(path, "wb");
    if (out && pixels) {
        fwrite(&file, sizeof file, 1, out);
        fwrite(&info, sizeof info, 1, out);
        fwrite(pixels, 1, size, out);
        printf("saved %s\n", path);
    }
    if (out) fclose(out);
    DeleteObject(section);
}

// Waits for prompt and types answer, unless a step failed already.
static int Await(int prompt, const char *answer) {
    if (Failed) return 0;
    if (AwaitPrompt(DialoguePrompts[prompt], answer, StepTimeoutMs)) return 1;
    printf("the question \"%s\" never came: %s\n", DialoguePrompts[prompt], DriverFailure);
    Failed = 1;
    return 0;
}

static int SavesStages;         // the tour saves the picture at every stage; the lesson only the last
static const char *MethodTag;   // names the pictures of the method under way

// The picture shown while a question waits.
static void PictureAt(int prompt) {
    char name[MAX_PATH];
    if (prompt == PromptChangeSlice) {
        snprintf(name, sizeof name, SavesStages ? "6-final-image-%s" : "%s", MethodTag);
        Picture(name);
        return;
    }
    if (!SavesStages) return;
    if (prompt == PromptSelectOk) Picture("2-projections-with-markers");
    if (prompt == PromptReconOk) Picture("3-slice-sinogram");
    if (prompt == PromptFilterOk) Picture("4-filter");
    if (prompt == PromptDispFiltered) {
        snprintf(name, sizeof name, "5-angle-gallery-%s", MethodTag);
        Picture(name);
    }
}

// One reconstruction, from the slice question to the final image. The tour saves the
// picture at every stage; the lesson (stages 0) only the final one, named tag.
static void Reconstruct(const char *filter, const char *slice, const char *method, const char *tag, int stages) {
    if (Failed) return;
    SavesStages = stages;
    MethodTag = tag;
    const DialogueStep steps[] = {
        {PromptSelectSlice, slice, NULL}, {PromptSelectOk, "", NULL},    {PromptReconOk, "", NULL},
        {PromptLoadFilter, "", filter},   {PromptFilterOk, "", NULL},     {PromptMethod, method, NULL},
        {PromptDispFiltered, "", NULL},   {PromptChangeSlice, NULL, NULL},
    };
    if (!WalkDialogue(steps, sizeof steps / sizeof steps[0], StepTimeoutMs, PictureAt)) {
        printf("the dialogue stopped: %s\n", DriverFailure);
        Failed = 1;
        return;
    }
    if (!stages) return;
    char name[MAX_PATH];
    snprintf(name, sizeof name, "0-screen-%s", tag);
    Screenshot(name);
}

const int LessonWordsMax = 16;   // volumes or methods of the lesson

// Splits a blank-separated list in place; returns how many words.
static int Words(char *list, char *words[LessonWordsMax]) {
    int n = 0;
    for (char *word = strtok(list, " "); word && n < LessonWordsMax; word = strtok(NULL, " ")) words[n++] = word;
    return n;
}

// Row 43 of every volume by every method, in one run of the program: another slice after
// each method, another file after each volume.
static void Lesson(const char *exe, const char *folder, char *volumeList, char *methodList) {
    char *volumes[LessonWordsMax], *methods[LessonWordsMax];
    int volumeCount = Words(volumeList, volumes), methodCount = Words(methodList, methods);
    const char *anyFilter = "";   // what simple backprojection loads: a filter of the lesson
    for (int m = methodCount - 1; m >= 0; m--)
        if (strcmp(methods[m], "simple") != 0) anyFilter = methods[m];
    PictureFolder = folder;
    if (!StartProgram(exe, folder)) {
        printf("%s\n", DriverFailure);
        Failed = 1;
        return;
    }
    for (int v = 0; v < volumeCount && !Failed; v++) {
        char path[MAX_PATH], volume[MAX_PATH], filter[MAX_PATH], tag[MAX_PATH];
        snprintf(path, sizeof path, "%s/%s.sino", folder, volumes[v]);
        snprintf(volume, sizeof volume, "%s", WinePath(path).c_str());
        if (!AnswerFileDialog(volume, StepTimeoutMs)) Failed = 1;
        if (!Await(PromptDispProjection, "")) break;
        for (int m = 0; m < methodCount && !Failed; m++) {
            int simple = strcmp(methods[m], "simple") == 0;
            // Simple backprojection loads a filter too, and leaves it unused.
            snprintf(path, sizeof path, "%s/%s.txt", folder, simple ? anyFilter : methods[m]);
            snprintf(filter, sizeof filter, "%s", WinePath(path).c_str());
            snprintf(tag, sizeof tag, "%s-%s", volumes[v], methods[m]);
            Reconstruct(filter, "43", simple ? "1" : "2", tag, 0);
            if (Failed) break;
            if (m + 1 < methodCount) {
                TypeLine("");
                continue;
            }
            TypeLine("n");
            Await(PromptRetry, v + 1 < volumeCount ? "" : "n");
        }
    }
    if (!Failed) WaitForExit(60000);
    KillProgram();
}

int main(int argc, char **argv) {
    if (argc < 4) {
        printf("usage: quorvel_tour QUORVEL_EXE SAMPLES_FOLDER TOUR_FOLDER [LESSON_FOLDER \"VOLUME...\" \"METHOD...\"]...\n");
        return 2;
    }
    const char *exe = argv[1], *samples = argv[2];
    TourFolder = argv[3];
    PictureFolder = TourFolder;
    CreateDirectoryA(TourFolder, NULL);
    char volume[MAX_PATH], filter[MAX_PATH], path[MAX_PATH];
    snprintf(path, sizeof path, "%s/head.sino", samples);
    snprintf(volume, sizeof volume, "%s", WinePath(path).c_str());
    snprintf(path, sizeof path, "%s/ramp.txt", samples);
    snprintf(filter, sizeof filter, "%s", WinePath(path).c_str());

    if (!StartProgram(exe, samples)) {
        printf("%s\n", DriverFailure);
        return 1;
    }
    if (!AnswerFileDialog(volume, StepTimeoutMs)) Failed = 1;
    if (Await(PromptDispProjection, NULL)) {
        Picture("1-sinogram-overview");
        TypeLine("");
        Reconstruct(filter, "43", "1", "simple", 1);
        if (!Failed) TypeLine("");
        Reconstruct(filter, "43", "2", "filtered", 1);
        if (!Failed) {
            TypeLine("n");
            Await(PromptRetry, "n");
            WaitForExit(60000);
        }
    }
    KillProgram();
    for (int i = 4; i + 2 < argc && !Failed; i += 3) Lesson(exe, argv[i], argv[i + 1], argv[i + 2]);
    return Failed;
}
