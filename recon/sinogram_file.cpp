// Loading of a sinogram volume file and the grey scale of its views.
#include "recon/sinogram_file.h"

#include <stdio.h>
#include <string.h>

#include "app/window_side.h"
#include "console/text_ring.h"
#include "recon/working_arrays.h"

// Whether the file reaches the end of the last sample. Probing the last byte needs
// no file size, which a 32-bit long cannot give for files beyond 2 GB.
static int HoldsWholeVolume(FILE *file) {
    return fseek(file, SinogramFileBytes - 1, SEEK_SET) == 0 && fgetc(file) != EOF;
}

static long FileSize(FILE *file) {
    if (fseek(file, 0, SEEK_END) != 0) return -1;
    return ftell(file);
}

static float SliceBuffer[Angles][Bins];  // one slice as stored: angle by angle, bin by bin

// One read a slice; the volume keeps the file's order, so each profile is one copy.
static int ReadSlice(FILE *file, int s) {
    if (fread(SliceBuffer, sizeof SliceBuffer, 1, file) != 1) return 0;
    for (int a = 0; a < Angles; a++) memcpy(SinogramVolume[s][a], SliceBuffer[a], sizeof SliceBuffer[a]);
    return 1;
}

int LoadSinogramVolume(const char *path) {
    if (path[0] == '\0') {
        ShowMessage("No sinogram file was chosen.");
        return 0;
    }
    FILE *file = fopen(path, "rb");
    if (!file) {
        ShowMessage("Cannot open the sinogram file\n%s", path);
        return 0;
    }
    // Checked before anything is stored, so a short file leaves the loaded volume whole.
    if (!HoldsWholeVolume(file)) {
        ShowMessage("The sinogram file is too short: %ld bytes, %ld needed\n%s",
                    FileSize(file), SinogramFileBytes, path);
        fclose(file);
        return 0;
    }
    int loaded = fseek(file, SinogramHeaderBytes, SEEK_SET) == 0;
    for (int s = 0; s < Slices && loaded; s++) {
        PumpMessage();
        loaded = ReadSlice(file, s);
    }
    fclose(file);
    if (!loaded) ShowMessage("Reading the sinogram file failed\n%s", path);
    return loaded;
}

void FindMaxCount() {
    float m = 0.0f;
    for (int s = 0; s < Slices; s++)
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++)
                if (SinogramVolume[s][a][r] > m) m = SinogramVolume[s][a][r];
    MaxCount = m;
    ConsolePrint("\n\n max count = %lf", (double)MaxCount);
}
