// quorvel_data compare: a saved final image against the true slice, in figures.
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "teaching/commands/command_line.h"
#include "teaching/commands/compare_command.h"
#include "teaching/commands/data_tool.h"
#include "teaching/commands/sinogram_command.h"
#include "teaching/picture_file.h"
#include "teaching/picture_projection.h"
#include "teaching/slice_comparison.h"
#include "teaching/slice_uniformity.h"
#include "teaching/tool_error.h"
#include "recon/geometry.h"

const char *const CompareHelp =
    "quorvel_data compare SAVED.bmp TRUTH [options]\n"
    "\n"
    "SAVED.bmp is a picture saved with the console menu's \" Save Graphic File\" once the\n"
    "final image is shown (at \"Change Reconstruction Slice ?\"): @PICTURE@ pixels, the\n"
    "slice at @FINAL_PLACE@, @SCALE@ x @SCALE@ pixels per sample.\n"
    "\n"
    "TRUTH is one of:\n"
    "  --phantom head|rods [--scale F] [--row N]  the phantom's slice at row N (the number\n"
    "                                typed at \"select slice =\"; default 43)\n"
    "  --picture FILE                the picture the slice was made from\n"
    "\n"
    "Quorvel shows a slice with 30 % of its peak subtracted and the rest scaled to white,\n"
    "so a grey g stands for a share 0.3 + 0.7 g / 255 of the slice's peak, and black for\n"
    "that or less. The figures:\n"
    "  correlation       Pearson's, between the greys and the ideal greys (the true slice\n"
    "                    shown the same way), inside the object's outline (the head's or\n"
    "                    cylinder's outer edge, or the picture's rectangle); 1 is best.\n"
    "  RMS error         root mean square of grey minus ideal grey over that of the ideal\n"
    "                    grey, inside the outline; 0 is best. A bright noise peak darkens\n"
    "                    the whole picture, and this counts it.\n"
    "  contrast recovery per region: (mean share in the region / mean share in the ring 2\n"
    "                    to 6 pixels outside it - 1) over (the same for the true activity);\n"
    "                    1 is full recovery. The head's spheres cut by the row are the\n"
    "                    default regions (hot_r9: a hot sphere of radius 9 there). As\n"
    "                    nothing below 0.3 of the peak shows, a region of no activity reads\n"
    "                    at most 1 - 0.3 / (the share of its surroundings).\n"
    "  noise             standard deviation over mean, in shares of the peak, in a flat\n"
    "                    region: by default the disc of radius 10 of one true level\n"
    "                    nearest the centre.\n"
    "  uniformity        the mean share in that flat disc over the mean share in a band 2\n"
    "                    to 6 pixels inside the outer edge of the region of its true level\n"
    "                    (the head's brain, the rods' cylinder), 2 pixels clear of any other\n"
    "                    level; 1 is flat, below 1 the middle shows darker than the edge\n"
    "                    (cupping, as without attenuation correction).\n"
    "Black stands for 0.3 of the peak or less, so where it hides part of a figure the\n"
    "figure is a bound and shows so: \">=\" when the truth is at least it (black in the\n"
    "flat disc, for the noise; black in the band, for the uniformity), \"<=\" when at\n"
    "most (black in the disc, for the uniformity). A disc all black, or black in both the\n"
    "disc and the band, gives \"-\".\n"
    "\n"
    "Options:\n"
    "  --region C,R,RADIUS  a disc to measure, centred at column C, row R of the truth\n"
    "                       (a picture's own pixels; for a phantom the @SIDE@ x @SIDE@ slice,\n"
    "                       row 0 at the top). Repeat it for more, up to 16; it replaces\n"
    "                       the defaults.\n"
    "  --flat C,R,RADIUS    the flat region for the noise, in the same coordinates.\n"
    "  --csv                one header line and one line of figures instead of the table.\n"
    "\n"
    "A figure that cannot be had (no truth around a region, a region off the slice, a\n"
    "black truth, a row the object does not reach) shows as \"-\", and a line on standard\n"
    "error says why; when no figure at all can be had the exit status is 1. A line\n"
    "on standard error also tells of a bound, of a region or flat disc that reaches past\n"
    "the slice's edge, and of a flat disc of more than one true level. A PGM saved\n"
    "picture may store its greys up to any largest value: they are scaled to 0..255.\n";

const int RowDefault = 43;
const double FlatRadiusDefault = 10.0;
const int TruthTextBytes = 4 * ArgumentBytesMax + 128;   // a picture's name, shown escaped
static char TruthText[TruthTextBytes];   // what the picture is held against, for the table

static double TypedColumn;   // the truth's own coordinates: slice column of its column 0
static double TypedRow;      // slice row of its row 0

// A figure with three decimals, or "-" when it cannot be had; a bound is marked ">=" (the
// truth is at least it) or "<=".
static void PrintFigure(const char *format, double value, int bound = 0) {
    if (value != value) {
        printf("-");
        return;
    }
    if (bound) printf("%s", bound > 0 ? ">=" : "<=");
    printf(format, value);
}

static void PrintTable(const char *saved) {
    printf("%-22s %s\n", "saved picture", Printable(saved));
    printf("%-22s %s\n", "truth", TruthText);
    printf("%-22s ", "correlation");
    PrintFigure("%.3f", SliceCorrelation);
    printf("\n%-22s ", "normalised RMS error");
    PrintFigure("%.3f", SliceRmsError);
    printf("\n");
    for (int r = 0; r < RegionCount; r++) {
        printf("%-22s ", r == 0 ? "contrast recovery" : "");
        PrintFigure("%.3f", RegionRecovery[r]);
        printf("   %s: column %g, row %g, radius %g\n", RegionName[r], RegionColumn[r] - TypedColumn,
               RegionRow[r] - TypedRow, RegionRadius[r]);
    }
    printf("%-22s ", "background noise");
    PrintFigure("%.1f %%", 100.0 * FlatNoise, FlatNoiseBound);
    if (FlatKnown)
        printf("   std dev / mean in the disc at column %g, row %g, radius %g\n", FlatDisc[0] - TypedColumn,
               FlatDisc[1] - TypedRow, FlatDisc[2]);
    else
        printf("\n");
    printf("%-22s ", "uniformity");
    PrintFigure("%.3f", SliceUniformity, UniformityBound);
    printf("   the flat disc over a band 2 to 6 pixels inside its region's outer edge\n");
}

// Appends to text, as far as it holds.
static void Append(char *text, int bytes, const char *format, ...) __attribute__((format(printf, 3, 4)));
static void Append(char *text, int bytes, const char *format, ...) {
    size_t used = strlen(text);
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text + used, bytes - used, format, arguments);
    va_end(arguments);
}
static void AppendFigure(char *text, int bytes, const char *format, double value, int bound = 0) {
    char number[64];
    snprintf(number, sizeof number, format, value);
    if (value != value) Append(text, bytes, ",-");
    else Append(text, bytes, ",%s%s", bound ? (bound > 0 ? ">=" : "<=") : "", number);
}

void FigureCsvHeader(char *text, int bytes) {
    text[0] = 0;
    Append(text, bytes, "picture,correlation,nrmse");
    for (int r = 0; r < RegionCount; r++) Append(text, bytes, ",cr_%s", RegionName[r]);
    Append(text, bytes, ",noise_percent,uniformity\n");
}

void FigureCsvLine(char *text, int bytes, const char *saved) {
    text[0] = 0;
    Append(text, bytes, "%s", Printable(saved));
    AppendFigure(text, bytes, "%.4f", SliceCorrelation);
    AppendFigure(text, bytes, "%.4f", SliceRmsError);
    for (int r = 0; r < RegionCount; r++) AppendFigure(text, bytes, "%.4f", RegionRecovery[r]);
    AppendFigure(text, bytes, "%.2f", 100.0 * FlatNoise, FlatNoiseBound);
    AppendFigure(text, bytes, "%.4f", SliceUniformity, UniformityBound);
    Append(text, bytes, "\n");
}

// One line on standard error for each figure shown as "-"; returns how many figures are
// numbers.
static int ExplainMissingFigures() {
    int sound = 0;
    const struct { double value; int bound; const char *name, *reason; } figures[] = {
        {SliceCorrelation, 0, "correlation", CorrelationReason},
        {SliceRmsError, 0, "normalised RMS error", RmsErrorReason},
        {FlatNoise, FlatNoiseBound, "background noise", NoiseReason},
        {SliceUniformity, UniformityBound, "uniformity", UniformityReason},
    };
    for (const auto &f : figures) {
        if (f.value != f.value) fprintf(stderr, "quorvel_data: %s: -, %s\n", f.name, f.reason);
        else if (f.bound) fprintf(stderr, "quorvel_data: %s: a bound (%s), as %s\n", f.name,
                                  f.bound > 0 ? "at least" : "at most", f.reason);
        sound += f.value == f.value;
    }
    for (int n = 0; n < NoteCount; n++) fprintf(stderr, "quorvel_data: note: %s\n", Notes[n]);
    for (int r = 0; r < RegionCount; r++) {
        if (RegionRecovery[r] == RegionRecovery[r]) sound++;
        else fprintf(stderr, "quorvel_data: contrast recovery of %s: -, %s\n", RegionName[r], RegionReason[r]);
    }
    return sound;
}

// Regions and the flat disc, from the truth's own coordinates to the slice's; their
// texts were checked before.
static int PlaceRegions(int fromPicture) {
    TypedColumn = fromPicture ? PictureLeft() : 0.0;
    TypedRow = fromPicture ? PictureTop() : 0.0;
    int given = 0;
    for (int n = 0; n < OptionCount; n++) {
        double disc[3];
        if (strcmp(OptionName[n], "region") != 0) continue;
        if (!DiscText("region", OptionValue[n], disc)) return 0;
        if (given == 0) RegionCount = 0;
        char name[RegionNameBytes];
        snprintf(name, sizeof name, "region%d", ++given);
        if (!AddRegion(name, disc[0] + TypedColumn, disc[1] + TypedRow, disc[2])) return 0;
    }
    FlatKnown = 0;
    if (HasOption("flat")) {
        if (!DiscText("flat", OptionText("flat"), FlatDisc)) return 0;
        FlatDisc[0] += TypedColumn;
        FlatDisc[1] += TypedRow;
        FlatKnown = 1;
    }
    return 1;
}

int RunCompareCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "csv") || !OnlyOptions("compare", "phantom scale row picture region flat csv", "region"))
        return ExitUsage;
    if (PositionalCount != 1)
        return RefuseWith(ExitUsage, "compare takes one word besides its options, the saved picture (see quorvel_data "
                                     "compare --help)");
    if (HasOption("phantom") + HasOption("picture") != 1)
        return RefuseWith(ExitUsage, "compare needs one truth: --phantom or --picture");
    if ((HasOption("scale") || HasOption("row")) && !HasOption("phantom"))
        return RefuseWith(ExitUsage, "--scale and --row choose a phantom's slice; a picture is its own slice");
    long row = RowDefault;
    if (!WholeOption("row", 0, Slices - 1, &row)) return ExitUsage;

    int phantom = 0;
    double scale = 1.0;
    if (HasOption("phantom") && !PhantomFromOptions(&phantom, &scale)) return ExitUsage;
    double disc[3];
    int regions = 0;
    for (int n = 0; n < OptionCount; n++) {
        regions += strcmp(OptionName[n], "region") == 0;
        if ((strcmp(OptionName[n], "region") == 0 || strcmp(OptionName[n], "flat") == 0) &&
            !DiscText(OptionName[n], OptionValue[n], disc))
            return ExitUsage;
    }
    if (regions > RegionsMax)
        return RefuseWith(ExitUsage, "--region is given %d times; at most %d regions are measured at once", regions,
                          RegionsMax);

    // The saved picture first: the truth of a phantom takes a while to work out.
    const char *saved = Positional[0];
    if (!ReadPicture(saved, PictureWidth, PictureHeight, "a saved picture")) return ExitFailed;
    if (PictureColumns != PictureWidth || PictureRows != PictureHeight)
        return RefuseWith(ExitFailed, "%s is %d x %d pixels; a picture saved with \" Save Graphic File\" is %d x %d",
                          saved, PictureColumns, PictureRows, PictureWidth, PictureHeight);
    if (!FindFinalImage(saved)) return ExitFailed;

    RegionCount = 0;
    if (HasOption("phantom")) {
        double z = (double)(Slices - 1 - row);
        TruthFromPhantom(z);
        AddSphereRegions(z);
        snprintf(TruthText, sizeof TruthText, "the %s phantom at scale %g, row %ld (file slice %ld)",
                 phantom == 0 ? "head" : "rods", scale, row, Slices - 1 - row);
    } else {
        const char *picture = OptionText("picture");
        if (!ReadPicture(picture, ImageSide, ImageSide, "a slice")) return ExitFailed;
        TruthFromPicture();
        snprintf(TruthText, sizeof TruthText, "%s (%d x %d pixels, centred)", Printable(picture), PictureColumns,
                 PictureRows);
    }
    if (!PlaceRegions(HasOption("picture"))) return ExitUsage;
    if (!FlatKnown) FindFlatRegion(FlatRadiusDefault);
    MeasureSlice();
    MeasureUniformity();
    if (HasOption("csv")) {
        static char line[FigureCsvBytes];
        FigureCsvHeader(line, sizeof line);
        fputs(line, stdout);
        FigureCsvLine(line, sizeof line, saved);
        fputs(line, stdout);
    }
    else PrintTable(saved);
    if (ExplainMissingFigures() == 0)
        return RefuseWith(ExitFailed, "no figure can be had of %s against this truth (the lines above say why)", saved);
    return ExitDone;
}
