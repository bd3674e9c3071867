// quorvel_data export: a volume as an Interfile pair that STIR reads.
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "teaching/attenuation.h"
#include "teaching/commands/command_line.h"
#include "teaching/commands/data_tool.h"
#include "teaching/file_replacement.h"
#include "teaching/projection_resampling.h"
#include "teaching/sinogram_reading.h"
#include "teaching/tool_error.h"
#include "recon/geometry.h"

const char *const ExportHelp =
    "quorvel_data export INPUT.sino OUT.hs [--bin-mm D]\n"
    "\n"
    "Writes the volume as an Interfile pair that STIR reads: the header OUT.hs and the data\n"
    "OUT.s beside it (4-byte floats, LITTLEENDIAN, by view), one segment of @SLICES@ axial\n"
    "positions (slice 0 first), @ANGLES@ views over half a turn and @BINS@ arc-corrected\n"
    "tangential positions D mm apart (default 1.3, the tool's pixel). STIR's positions lie\n"
    "on Quorvel's bin edges, half a bin from their centres: each is interpolated from its\n"
    "two bins. STIR's y axis points down, so its FBP shows the slice upright.\n";

const int ExportPositions = Bins;
const int ExportHeaderBytes = 4096;
static float ExportVolume[Angles][Slices][ExportPositions];   // [view][axial][tangential], as written
static float QuorvelSlice[Angles][Bins];                      // one slice of the input
static float StirSlice[Angles][ExportPositions];              // the same slice on STIR's grid
static char ExportHeader[ExportHeaderBytes];

static int WriteData(FILE *file) {
    static unsigned char bytes[ExportPositions * 4];
    for (int v = 0; v < Angles; v++)
        for (int k = 0; k < Slices; k++) {
            for (int t = 0; t < ExportPositions; t++) {
                uint32_t bits;
                memcpy(&bits, &ExportVolume[v][k][t], 4);
                for (int i = 0; i < 4; i++) bytes[4 * t + i] = (unsigned char)(bits >> (8 * i));
            }
            if (fwrite(bytes, 1, sizeof bytes, file) != sizeof bytes) return 0;
        }
    return 1;
}

// Writes text or data into path whole; 1 when done.
static int Replace(const char *path, const char *text) {
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    int written = text ? fputs(text, file) >= 0 : WriteData(file);
    if (!FinishReplacing(path, file, written)) return written ? 0 : Refuse("cannot write %s (is there room?)", path);
    return 1;
}

int RunExportCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "") || !OnlyOptions("export", "bin-mm", "")) return ExitUsage;
    if (PositionalCount != 2)
        return RefuseWith(ExitUsage, "export takes two words besides its options, the volume and the header to write (see "
                                     "quorvel_data export --help)");
    double binMm = PixelMmDefault;
    if (!NumberOption("bin-mm", 0.001, 1000.0, &binMm)) return ExitUsage;
    const char *input = Positional[0], *header = Positional[1];
    std::string data = header;
    size_t length = data.size();
    if (length > 3 && data.compare(length - 3, 3, ".hs") == 0) data.erase(length - 2, 1);
    else data += ".s";
    size_t slash = data.find_last_of("/\\");
    std::string dataName = slash == std::string::npos ? data : data.substr(slash + 1);
    if (SameFile(header, input) || SameFile(data.c_str(), input))
        return RefuseWith(ExitUsage, "the output %s or %s is the volume exported; give it another name", header, data.c_str());

    // Quorvel's bin r lies (r - centre) pixels out with y upward; STIR's position t lies t bins out, y downward.
    SourceViews = Angles;
    SourcePositions = Bins;
    SourceFirstViewDegrees = 0.0;
    SourceCentre = RotationCentre;
    SourceBinMm = binMm;
    SourceRadiusMm = 0.0;
    SourceFlipsY = 1;
    for (int s = 0; s < Slices; s++) {
        if (!ReadSinogramSlice(input, s, QuorvelSlice)) return ExitFailed;
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++) SourceProfiles[a][r] = QuorvelSlice[a][r];
        ResampleOnto(Angles, ExportPositions, ExportPositions / 2, binMm, &StirSlice[0][0]);
        for (int v = 0; v < Angles; v++) memcpy(ExportVolume[v][s], StirSlice[v], sizeof StirSlice[v]);
    }
    double cm = binMm / 10.0;
    snprintf(ExportHeader, sizeof ExportHeader,
             "!INTERFILE  :=\n"
             "!imaging modality := PT\n"
             "name of data file := %s\n"
             "originating system := User_defined_scanner\n"
             "!version of keys := STIR4.0\n"
             "!GENERAL DATA :=\n"
             "!GENERAL IMAGE DATA :=\n"
             "!type of data := PET\n"
             "imagedata byte order := LITTLEENDIAN\n"
             "!PET STUDY (General) :=\n"
             "!PET data type := Emission\n"
             "applied corrections := {arc correction}\n"
             "!number format := float\n"
             "!number of bytes per pixel := 4\n"
             "number of dimensions := 4\n"
             "matrix axis label [4] := segment\n"
             "!matrix size [4] := 1\n"
             "matrix axis label [3] := view\n"
             "!matrix size [3] := %d\n"
             "matrix axis label [2] := axial coordinate\n"
             "!matrix size [2] := { %d}\n"
             "matrix axis label [1] := tangential coordinate\n"
             "!matrix size [1] := %d\n"
             "minimum ring difference per segment := { 0}\n"
             "maximum ring difference per segment := { 0}\n"
             "Scanner parameters:=\n"
             "Scanner type := User_defined_scanner\n"
             "Number of rings := %d\n"
             "Number of detectors per ring := %d\n"
             "Inner ring diameter (cm) := %.6g\n"
             "Average depth of interaction (cm) := 0\n"
             "Distance between rings (cm) := %.6g\n"
             "Default bin size (cm) := %.6g\n"
             "View offset (degrees) := 0\n"
             "Maximum number of non-arc-corrected bins := %d\n"
             "Default number of arc-corrected bins := %d\n"
             "Number of TOF time bins := 1\n"
             "end scanner parameters:=\n"
             "effective central bin size (cm) := %.6g\n"
             "number of time frames := 1\n"
             "data offset in bytes[1] := 0\n"
             "image scaling factor[1] := 1\n"
             "!END OF INTERFILE :=\n",
             dataName.c_str(), Angles, Slices, ExportPositions, Slices, 2 * Angles,
             // The ring encloses the field with room; slices are taken as thick as a pixel.
             2.5 * ExportPositions / 2 * cm, cm, cm, ExportPositions, ExportPositions, cm);
    if (!Replace(data.c_str(), NULL) || !Replace(header, ExportHeader)) return ExitFailed;
    printf("wrote %s and %s: %d views x %d axial positions x %d tangential positions %g mm apart, by view, float "
           "LITTLEENDIAN\n",
           Printable(header), Printable(data.c_str()), Angles, Slices, ExportPositions, binMm);
    return ExitDone;
}
