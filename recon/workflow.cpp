// The dialogue: file, views, slice choice, filter, method, reconstruction, review.
#include "recon/workflow.h"

#include <stdlib.h>

#include "console/console_opening.h"
#include "console/input_line.h"
#include "console/text_ring.h"
#include "graphics/draw.h"
#include "recon/angle_gallery.h"
#include "recon/backprojection.h"
#include "recon/filter_file.h"
#include "recon/final_image.h"
#include "recon/gap_filling.h"
#include "recon/projection_views.h"
#include "recon/sinogram_file.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"

static char Answer;  // reply to every "%c" question but the method question

// Asks until a file is loaded. The question has no typed answer, so after a failure
// the user presses Enter before the dialog opens again: a cancelled dialog does not
// trap the user between dialog and message box.
static void LoadSinogramFile(char *path) {
    for (;;) {
        ConsolePrint("\n\n Load PET Singram data ");
        ChooseOpenFile(path);
        if (LoadSinogramVolume(path)) return;
        ConsolePrint("\n (enter: choose a file again) ");
        ConsoleScan("%c", &Answer);
    }
}

// Asks until the row names one of the file's slices. Tokens typed after a refused
// number are dropped, so they cannot answer the repeated question.
static int AskSliceRow() {
    for (;;) {
        int n = 0;
        ConsolePrint("\n\nselect slice = ");
        ConsoleScan("%d", &n);
        if (n >= LowestSliceRow && n <= HighestSliceRow) return n;
        while (InputLength > 0) ConsoleScan("%c", &Answer);
    }
}

// Slice choice and its confirmation; ends with the chosen slice in SliceSinogram.
static void ChooseSlice() {
    for (;;) {
        ClearSurface();
        ShowProjectionGallery();
        GraphicsFlush();
        int n = AskSliceRow();
        DrawSliceMarkers(n);
        ConsolePrint("\n\nselect slice OK ? ");
        ConsoleScan("%c", &Answer);
        if (Answer == 'n') continue;
        ExtractSlice(n);
        ShowSliceSinogram();
        GraphicsFlush();
        ConsolePrint("\nReconstruction slice OK? \n(yes: enter, no: n) ");
        ConsoleScan("%c", &Answer);
        if (Answer != 'n' && Answer != 'N') return;
    }
}

static void Reconstruct(char method) {
    BackprojectAndRepairAngles(method);
    FindGalleryMax();
    GraphicsFlush();
    ShowAngleGallery();
    GraphicsFlush();
    ConsolePrint("\n\n Disp Filtered Pth * Filter ");
    ConsoleScan("%c", &Answer);
    SumAngles();
    FindReconMax();
    SubtractBackground();
    FindDisplayMax();
    GraphicsFlush();
    ShowReconstruction();
    GraphicsFlush();
}

void RunWorkflow() {
    char path[PathBytes] = "";  // the file chosen last, sinogram or filter
    PlaceConsoleForDialogue();
    ConsolePrint("PET BackProjection");
    for (;;) {
        LoadSinogramFile(path);
        FindMaxCount();
        GraphicsOpen();
        ShowSinogramOverview();
        ConsolePrint("\n\nDisp Projection ");
        ConsoleScan("%c", &Answer);
        do {
            ChooseSlice();
            LoadFilter(path);
            Reconstruct(ChooseMethod());
            ConsolePrint("\n Change Reconstruction Slice ? \n (yes: enter, no: n) ");
            ConsoleScan("%c", &Answer);
        } while (Answer != 'n');
        ConsolePrint("\n\n Retry? (no:n) ");
        ConsoleScan("%c", &Answer);
        if (Answer == 'n') exit(0);
    }
}
