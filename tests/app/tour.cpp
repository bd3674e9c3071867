// A picture tour: runs the whole dialogue on a sample volume, once with each method,
// and saves the picture at every stage as a bitmap, for the README and for teachers.
//
// Usage: quorvel_tour QUORVEL_EXE SAMPLES_FOLDER TOUR_FOLDER   (Linux paths; run under Wine)
// The samples folder must hold head.sino and ramp.txt from the sample generator.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "app/dialogue_driver.h"

const int StepTimeoutMs = 180000;

static const char *TourFolder;   // Linux path of the folder the pictures go to
static int Failed;               // a step did not come

static void Picture(const char *name) {
    char unixPath[MAX_PATH], windowsPath[MAX_PATH];
    snprintf(unixPath, sizeof unixPath, "%s/%s.bmp", TourFolder, name);
    DeleteFileA(unixPath);
    WindowsPath(unixPath, windowsPath, sizeof windowsPath);
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

static int Ask(const char *lastLine, const char *lineBefore) {
    if (Failed) return 0;
    if (WaitForPrompt(lastLine, lineBefore, StepTimeoutMs)) return 1;
    printf("the question \"%s\" never came: %s\n", lastLine, DriverFailure);
    Failed = 1;
    return 0;
}

static void Reconstruct(const char *filter, const char *slice, const char *method, const char *tag) {
    char name[64];
    if (!Ask("select slice = ", NULL)) return;
    TypeLine(slice);
    if (!Ask("select slice OK ? ", NULL)) return;
    snprintf(name, sizeof name, "2-projections-with-markers");
    Picture(name);
    TypeLine("");
    if (!Ask("(yes: enter, no: n) ", "Reconstruction slice OK? ")) return;
    Picture("3-slice-sinogram");
    TypeLine("");
    if (!Ask(" Load Real space Filter ", NULL)) return;
    TypeLine("");
    if (!AnswerFileDialog(filter, StepTimeoutMs)) Failed = 1;
    if (!Ask(" OK ? (yes; enter, no; n ) ", NULL)) return;
    Picture("4-filter");
    TypeLine("");
    if (!Ask(" ", " 2: Filtered BackProjection ")) return;
    TypeLine(method);
    if (!Ask(" Disp Filtered Pth * Filter ", NULL)) return;
    snprintf(name, sizeof name, "5-angle-gallery-%s", tag);
    Picture(name);
    TypeLine("");
    if (!Ask(" (yes: enter, no: n) ", " Change Reconstruction Slice ? ")) return;
    snprintf(name, sizeof name, "6-final-image-%s", tag);
    Picture(name);
    snprintf(name, sizeof name, "0-screen-%s", tag);
    Screenshot(name);
}

int main(int argc, char **argv) {
    if (argc < 4) {
        printf("usage: quorvel_tour QUORVEL_EXE SAMPLES_FOLDER TOUR_FOLDER\n");
        return 2;
    }
    const char *exe = argv[1], *samples = argv[2];
    TourFolder = argv[3];
    CreateDirectoryA(TourFolder, NULL);
    char volume[MAX_PATH], filter[MAX_PATH], path[MAX_PATH];
    snprintf(path, sizeof path, "%s/head.sino", samples);
    WindowsPath(path, volume, sizeof volume);
    snprintf(path, sizeof path, "%s/ramp.txt", samples);
    WindowsPath(path, filter, sizeof filter);

    if (!StartProgram(exe, samples)) {
        printf("%s\n", DriverFailure);
        return 1;
    }
    if (!AnswerFileDialog(volume, StepTimeoutMs)) Failed = 1;
    if (Ask("Disp Projection ", NULL)) {
        Picture("1-sinogram-overview");
        TypeLine("");
        Reconstruct(filter, "43", "1", "simple");
        if (!Failed) TypeLine("");
        Reconstruct(filter, "43", "2", "filtered");
        if (!Failed) {
            TypeLine("n");
            if (Ask(" Retry? (no:n) ", NULL)) TypeLine("n");
            WaitForExit(60000);
        }
    }
    KillProgram();
    return Failed;
}
