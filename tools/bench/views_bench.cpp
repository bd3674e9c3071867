// The program's own steps on the real windows, timed under Wine: loading a volume and
// drawing its overview against one plain read of the same file, and everything from
// the method answer to the final picture on screen.
//
// Usage: views_bench FOLDER   (a Linux folder for the volume file)
#include <windows.h>

#include <stdio.h>

#include "app/window_side.h"
#include "console/console_window.h"
#include "teaching/sample_volume.h"
#include "recon/angle_gallery.h"
#include "recon/backprojection.h"
#include "recon/final_image.h"
#include "recon/gap_filling.h"
#include "recon/projection_views.h"
#include "recon/reconstruction.h"
#include "recon/sinogram_file.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"
#include "tools/bench/bench_common.h"
#include "tools/program_driver/dialogue_driver.h"

static char VolumePath[MAX_PATH];             // the head volume, Windows form
static unsigned char FileBytes[11403288];     // one plain read of it

static void PlainRead() {
    FILE *file = fopen(VolumePath, "rb");
    if (!file) return;
    if (fread(FileBytes, 1, sizeof FileBytes, file) != sizeof FileBytes) printf("short read\n");
    fclose(file);
}

static void Load() {
    LoadSinogramVolume(VolumePath);
    FindMaxCount();
}

static void Overview() {
    ShowSinogramOverview();
    GraphicsFlush();
}

static void LoadAndOverview() {
    Load();
    Overview();
}

static void AngleGallery() {
    ShowAngleGallery();
    GraphicsFlush();
}

static void FinalImage() {
    ShowReconstruction();
    GraphicsFlush();
}

// The workflow's steps 13 and 14 without the question between them.
static void MethodToFinalPicture() {
    ReconstructSlice('2');
    GraphicsFlush();
    AngleGallery();
    GraphicsFlush();
    FinalImage();
}

int main(int argc, char **argv) {
    if (argc < 2) {
        printf("usage: views_bench FOLDER\n");
        return 2;
    }
    std::string folder = std::string(argv[1]) + "/bench_head.sino";
    snprintf(VolumePath, sizeof VolumePath, "%s", WinePath(folder.c_str()).c_str());
    PrepareHeadSlice();
    if (!WriteSampleVolume(VolumePath)) {
        printf("cannot write %s\n", VolumePath);
        return 1;
    }
    if (!InitWindows(GetModuleHandleA(NULL), SW_SHOWNORMAL)) {
        printf("the windows could not be created\n");
        return 1;
    }
    Load();
    GraphicsOpen();
    Report("plain_read", MedianMs(PlainRead));
    Report("load", MedianMs(Load));
    Report("overview", MedianMs(Overview));
    Report("load_and_overview", MedianMs(LoadAndOverview));
    ExtractSlice(43);
    Report("method_to_final_picture", MedianMs(MethodToFinalPicture));
    Report("angle_gallery", MedianMs(AngleGallery));
    Report("final_image", MedianMs(FinalImage));
    DeleteFileA(VolumePath);
    return 0;
}
