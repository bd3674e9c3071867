// The real-space filter file: reading its numbers and the question that asks for it.
#include "recon/filter_file.h"

#include <stdio.h>

#include "console/input_line.h"
#include "console/message_box.h"
#include "console/text_ring.h"
#include "graphics/draw.h"
#include "recon/working_arrays.h"

int ReadFilterTaps(const char *path) {
    FILE *file = fopen(path, "rt");
    if (!file) return 0;
    // Once a read fails every later one would stop at the same text, so the
    // remaining taps keep their values.
    for (int k = 0; k < FilterTapCount; k++)
        if (fscanf(file, "%lf \n", &FilterTaps[k]) != 1) break;
    fclose(file);
    return 1;
}

void LoadFilter(char *path) {
    char answer;  // reply to the two questions; only the confirmation's counts
    for (;;) {
        ConsolePrint("\n\n Load Real space Filter ");
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
        ConsolePrint("\n\n Real space filter = \n\n %s \n OK ? (yes; enter, no; n ) ", path);
        ConsoleScan("%c", &answer);
        if (answer != 'n' && answer != 'N') return;
    }
}
