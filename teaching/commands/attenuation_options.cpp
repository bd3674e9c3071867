#include "teaching/commands/attenuation_options.h"

#include <stdio.h>

#include "teaching/attenuation.h"
#include "teaching/commands/command_line.h"
#include "teaching/phantoms.h"
#include "teaching/picture_file.h"
#include "teaching/tool_error.h"
#include "recon/geometry.h"

int AttenuationAsked;
int AttenuationCorrected;
double PixelMm;

const int AttenuationTextBytes = 1200;
static char MapText[AttenuationTextBytes];      // what the map was made of
static char ReportText[AttenuationTextBytes + 64];   // ... and the pixel size

int ReadAttenuationOptions() {
    AttenuationCorrected = HasOption("attenuation-corrected");
    AttenuationAsked = HasOption("attenuation") || AttenuationCorrected;
    PixelMm = PixelMmDefault;
    static const char *const MapOptions[] = {"mu-map", "pixel-mm"};
    for (const char *name : MapOptions)
        if (HasOption(name) && !AttenuationAsked) return Refuse("--%s describes the attenuation; add --attenuation", name);
    if (HasOption("mu-map") && (HasOption("phantom") || HasOption("folder")))
        return Refuse("--mu-map goes with --picture: a phantom knows its own map, and a folder's pictures are water");
    if (AttenuationAsked) ClearAttenuation();
    return NumberOption("pixel-mm", PixelMmMin, PixelMmMax, &PixelMm);
}

// Reads the map picture; columns 0 takes any size.
static int ReadMap(int columns, int rows) {
    const char *map = OptionText("mu-map");
    if (!ReadPicture(map, ImageSide, ImageSide, "a map")) return 0;
    if (columns && (PictureColumns != columns || PictureRows != rows))
        return Refuse("%s is %d x %d pixels; the map must be the picture's size, %d x %d", map, PictureColumns,
                      PictureRows, columns, rows);
    MuFromGreys();
    snprintf(MapText, sizeof MapText, "the map %s (grey g of 255: g / 1000 per cm)", map);
    return 1;
}

int PictureSliceAttenuation(int s) {
    if (HasOption("mu-map")) {
        if (!ReadMap(PictureColumns, PictureRows)) return 0;
    } else {
        WaterWhereNotBlack();
        snprintf(MapText, sizeof MapText, "water (%g per cm) wherever the picture is not black", WaterMuPerCm);
    }
    PictureAttenuation(s, PixelMm);
    return 1;
}

static void PhantomMap(int s) {
    PhantomAttenuation(s, PixelMm);
    snprintf(MapText, sizeof MapText, "the phantom's water (%g per cm) and bone (%g per cm)", WaterMuPerCm, BoneMuPerCm);
}

void PhantomVolumeAttenuation() {
    for (int s = 0; s < Slices; s++) PhantomMap(s);
}

int SliceAttenuation(int s) {
    if (HasOption("phantom")) {
        PhantomMap(s);
        return 1;
    }
    if (HasOption("picture")) {
        if (!ReadPicture(OptionText("picture"), ImageSide, ImageSide, "a slice")) return 0;
        return PictureSliceAttenuation(s);
    }
    if (!ReadMap(0, 0)) return 0;
    PictureAttenuation(s, PixelMm);
    return 1;
}

int CheckSomethingAttenuates() {
    if (SmallestAttenuation() < 1.0f) return 1;
    const char *map = HasOption("mu-map") ? OptionText("mu-map") : HasOption("picture") ? OptionText("picture") : "the map";
    return Refuse("%s is black: the attenuation map holds no matter, so --attenuation would change nothing", map);
}

void PrintSmallestAttenuation(float smallest, const char *after) {
    // Three significant figures, so that a factor of 0.04 % does not read as 0.0 %.
    printf("the deepest line keeps %.3g %% of its counts%s\n", 100.0 * smallest, after);
}

const char *AttenuationText() {
    snprintf(ReportText, sizeof ReportText, "%s, pixels of %g mm", MapText, PixelMm);
    return ReportText;
}
