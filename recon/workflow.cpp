// The dialogue: file, views, slice choice, filter, method, reconstruction, review.
#include "recon/workflow.h"

#include <stdlib.h>

#include "app/window_side.h"
#include "console/input_line.h"
#include "console/text_ring.h"
#include "recon/angle_gallery.h"
#include "recon/dialogue_prompts.h"
#include "recon/filter_file.h"
#include "recon/filter_plot.h"
#include "recon/final_image.h"
#include "recon/projection_views.h"
#include "recon/reconstruction.h"
#include "recon/sinogram_file.h"
#include "recon/working_arrays.h"

static char Answer;  // reply to every "%c" question but the method question

// Asks until a file is loaded. The question has no typed answer, so after a failure
// the user presses Enter before the dialog opens again: a cancelled dialog does not
// trap the user between dialog and message box.
static void AskSinogramFile(char *path) {
    for (;;) {
        ConsolePrint("%s", DialoguePrompts[PromptLoadVolume]);
        ChooseOpenFile(path);
        if (LoadSinogramVolume(path)) return;
        ConsolePrint("%s", DialoguePrompts[PromptChooseAgain]);
        ConsoleScan("%c", &Answer);
    }
}

// Asks until the row names one of the file's slices. Tokens typed after a refused
// number are dropped, so they cannot answer the repeated question.
static int AskSliceRow() {
    for (;;) {
        int n = 0;
        ConsolePrint("%s", DialoguePrompts[PromptSelectSlice]);
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
        ConsolePrint("%s", DialoguePrompts[PromptSelectOk]);
        ConsoleScan("%c", &Answer);
        if (Answer == 'n') continue;
        ExtractSlice(n);
        ShowSliceSinogram();
        GraphicsFlush();
        ConsolePrint("%s", DialoguePrompts[PromptReconOk]);
        ConsoleScan("%c", &Answer);
        if (Answer != 'n' && Answer != 'N') return;
    }
}

void LoadFilter(char *path) {
    char answer;  // reply to the two questions; only the confirmation's counts
    for (;;) {
        ConsolePrint("%s", DialoguePrompts[PromptLoadFilter]);
        ConsoleScan("%c", &answer);
        ChooseOpenFile(path);
        if (path[0] == '\0') {
            ShowMessage("No filter file was chosen.");
            continue;
        }
        if (!ReadFilterTaps(path)) {
            ShowMessage("Cannot open the filter file\n%s", path);
            continue;
        }
        PlotFilter();
        ConsolePrint(DialoguePrompts[PromptFilterOk], path);
        ConsoleScan("%c", &answer);
        if (answer != 'n' && answer != 'N') return;
    }
}

char ChooseMethod() {
    char method = 0;
    ConsolePrint("%s", DialoguePrompts[PromptMethod]);
    ConsoleScan("%c", &method);
    return method;
}

// The numbers are all worked out first; the pictures and the question between them
// follow in the dialogue's order.
static void Reconstruct(char method) {
    ReconstructSlice(method);
    GraphicsFlush();
    ShowAngleGallery();
    GraphicsFlush();
    ConsolePrint("%s", DialoguePrompts[PromptDispFiltered]);
    ConsoleScan("%c", &Answer);
    GraphicsFlush();
    ShowReconstruction();
    GraphicsFlush();
}

void RunWorkflow() {
    char path[PathBytes] = "";  // the file chosen last, sinogram or filter
    PlaceConsoleForDialogue();
    ConsolePrint("%s", DialoguePrompts[PromptBanner]);
    for (;;) {
        AskSinogramFile(path);
        FindMaxCount();
        GraphicsOpen();
        ShowSinogramOverview();
        ConsolePrint("%s", DialoguePrompts[PromptDispProjection]);
        ConsoleScan("%c", &Answer);
        do {
            ChooseSlice();
            LoadFilter(path);
            Reconstruct(ChooseMethod());
            ConsolePrint("%s", DialoguePrompts[PromptChangeSlice]);
            ConsoleScan("%c", &Answer);
        } while (Answer != 'n');
        ConsolePrint("%s", DialoguePrompts[PromptRetry]);
        ConsoleScan("%c", &Answer);
        if (Answer == 'n') exit(0);
    }
}
