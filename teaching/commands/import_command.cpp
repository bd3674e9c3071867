// quorvel_data import: Interfile projection data or a raw array, resampled into a volume.
#include <stdio.h>
#include <string.h>

#include "teaching/commands/command_line.h"
#include "teaching/commands/data_tool.h"
#include "teaching/file_replacement.h"
#include "teaching/interfile_header.h"
#include "teaching/interfile_projection.h"
#include "teaching/projection_data.h"
#include "teaching/projection_resampling.h"
#include "teaching/sample_volume.h"
#include "teaching/tool_error.h"
#include "recon/geometry.h"

const char *const ImportHelp =
    "quorvel_data import IN.hs OUTPUT.sino [--segment 0] [--frame 1] [--bin-mm D]\n"
    "quorvel_data import RAW OUTPUT.sino --raw TYPE --shape SLICES,VIEWS,BINS [options]\n"
    "\n"
    "Writes a sinogram volume from PET projection data of another program: an Interfile\n"
    "header (IN.hs, with its data file named by \"name of data file\", relative to the\n"
    "header's folder) as STIR and scanners write it, or a raw array of numbers.\n"
    "\n"
    "Interfile: one segment of one frame is read, by view or by sinogram, as floats or\n"
    "integers of either byte order, scaled by \"image scaling factor[F]\". --segment N picks\n"
    "the segment (0 holds ring difference 0; 1, 2, ... and -1, -2, ... lie outward), --frame F\n"
    "the time frame. The import says what it read, one line a fact, and refuses with one\n"
    "line naming the key: time-of-flight data, list mode, SPECT, a data file shorter than\n"
    "the header promises, or a key it uses with an impossible value.\n"
    "\n"
    "Geometry: the data's view v lies at v x 180 / views degrees plus \"View offset\n"
    "(degrees)\", and its line of angle phi and position s is x cos(phi) + y sin(phi) = s with\n"
    "y downward, so a point at the data's (x, y) appears in Quorvel's final image at (x, -y).\n"
    "Position t runs from -floor(N/2) to N - 1 - floor(N/2); s = t x bin size when\n"
    "arc-corrected, R sin(t x 180 / detectors) when not. Every Quorvel angle and bin is\n"
    "interpolated linearly from the two nearest views and the two nearest positions.\n"
    "--bin-mm D is Quorvel's pixel in mm (default: what makes the data's field fill the\n"
    "@BINS@ bins). The segment's axial positions fill slices in file order, the first on the\n"
    "lowest slice used, centred when fewer than @SLICES@; of more, the middle @SLICES@ are kept.\n"
    "\n"
    "Raw arrays: --raw float32|float64|int16|uint16|int32, with le (default) or be after it\n"
    "for the byte order (float32be); --shape SLICES,VIEWS,BINS; --offset BYTES before the\n"
    "first number (default 0); --order slice,view,bin (default: each slice's sinogram whole)\n"
    "or view,slice,bin (each view of every slice). The geometry: --view-offset DEG, the\n"
    "angle of view 0 over half a turn (default 0); --centre C, the bin on the axis (default\n"
    "floor(BINS / 2)); --y down|up, the direction of the data's y axis (default down, as\n"
    "Interfile); --data-bin-mm D, the data's bin spacing (default 1).\n";

const double BinMmMin = 0.001;
const double BinMmMax = 1000.0;

// The raw array's layout and geometry from the options.
static int DescribeRawArray(const char *path) {
    static const char *const Types[] = {"float32", "float64", "int16", "uint16", "int32", "float32le", "float64le",
                                        "int16le", "uint16le", "int32le", "float32be", "float64be", "int16be",
                                        "uint16be", "int32be"};
    static const int Kinds[] = {NumberFloat, NumberFloat, NumberSigned, NumberUnsigned, NumberSigned};
    static const int Bytes[] = {4, 8, 2, 2, 4};
    int type = 0;
    if (!ChoiceOption("raw", Types, 15, &type)) return 0;
    DataNumberKind = Kinds[type % 5];
    DataNumberBytes = Bytes[type % 5];
    DataBigEndian = type >= 10;
    DataScale = 1.0;
    long shape[3];
    int count = 0;
    if (!OptionText("shape") || !ReadWholeList(OptionText("shape"), 1, 1000000, shape, 3, &count) || count != 3 ||
        shape[1] > SourceViewsMax || shape[2] > SourcePositionsMax)
        return Refuse("--shape %s: give SLICES,VIEWS,BINS, views and bins from 1 to %d", OptionText("shape") ? OptionText("shape") : "",
                      SourceViewsMax);
    static const char *const Orders[] = {"slice,view,bin", "view,slice,bin"};
    static const char *const Directions[] = {"down", "up"};
    int order = 0, direction = 0;
    double offset = 0.0, centre = (double)(shape[2] / 2);
    SourceFirstViewDegrees = 0.0;
    SourceBinMm = 1.0;
    if (!ChoiceOption("order", Orders, 2, &order) || !ChoiceOption("y", Directions, 2, &direction) ||
        !NumberOption("offset", 0, 1e15, &offset) || !NumberOption("view-offset", -360, 360, &SourceFirstViewDegrees) ||
        !NumberOption("centre", -(double)shape[2], 2.0 * shape[2], &centre) ||
        !NumberOption("data-bin-mm", BinMmMin, BinMmMax, &SourceBinMm))
        return 0;
    if (offset != (double)(long long)offset) return Refuse("--offset %s: give a whole number of bytes", OptionText("offset"));
    snprintf(DataPath, DataPathBytes, "%s", path);
    DataStart = (long long)offset;
    DataEnd = DataStart + (long long)shape[0] * shape[1] * shape[2] * DataNumberBytes;
    DataAxialCount = shape[0];
    DataAxialStride = order == 0 ? (long long)shape[1] * shape[2] : shape[2];
    DataViewStride = order == 0 ? shape[2] : (long long)shape[0] * shape[2];
    SourceViews = (int)shape[1];
    SourcePositions = (int)shape[2];
    SourceCentre = centre;
    SourceRadiusMm = 0.0;
    SourceFlipsY = direction == 0;
    FactCount = 0;
    snprintf(Fact[FactCount++], FactBytes, "size: %ld slices x %ld views x %ld bins of %d-byte %s, %s, from byte %lld",
             shape[0], shape[1], shape[2], DataNumberBytes, DataNumberKind == NumberFloat ? "floats" : "integers",
             DataBigEndian ? "big-endian" : "little-endian", DataStart);
    snprintf(Fact[FactCount++], FactBytes, "order: %s; view 0 at %g degrees, bin %g on the axis, y %s", Orders[order],
             SourceFirstViewDegrees, centre, Directions[direction]);
    return 1;
}

int RunImportCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "") ||
        !OnlyOptions("import", "segment frame bin-mm raw shape offset order view-offset centre y data-bin-mm", ""))
        return ExitUsage;
    if (PositionalCount != 2)
        return RefuseWith(ExitUsage, "import takes two words besides its options, the input and the output volume (see "
                                     "quorvel_data import --help)");
    const char *input = Positional[0], *output = Positional[1];
    int raw = HasOption("raw");
    static const char *const RawOnly[] = {"shape", "offset", "order", "view-offset", "centre", "y", "data-bin-mm"};
    for (const char *option : RawOnly)
        if (!raw && HasOption(option)) return RefuseWith(ExitUsage, "--%s describes a raw array; give --raw with it", option);
    if (raw && (HasOption("segment") || HasOption("frame")))
        return RefuseWith(ExitUsage, "--segment and --frame belong to Interfile data, not to --raw");
    long segment = 0, frame = 1;
    double binMm = 0.0;
    if (!WholeOption("segment", -1000, 1000, &segment) || !WholeOption("frame", 1, 100000, &frame) ||
        !NumberOption("bin-mm", BinMmMin, BinMmMax, &binMm))
        return ExitUsage;
    if (raw ? !DescribeRawArray(input) : !DescribeInterfileProjections(input, segment, frame))
        return raw ? ExitUsage : ExitFailed;   // a raw array is described by options alone
    if (!CheckDataFile(raw ? "--shape" : "the header")) return ExitFailed;
    if (SameFile(output, input) || SameFile(output, DataPath))
        return RefuseWith(ExitUsage, "the output %s is the data imported; give the volume another name", output);
    if (!HasOption("bin-mm")) binMm = SourceFieldMm() / Bins;

    FILE *file = BeginReplacing(output);
    if (!file) return ExitFailed;
    long kept = DataAxialCount < Slices ? DataAxialCount : Slices;
    long skipped = (DataAxialCount - kept) / 2;     // axial positions left out below
    long lowest = (Slices - kept) / 2;              // slice of the first kept position
    memset(SampleVolume, 0, sizeof SampleVolume);
    for (long k = 0; k < kept; k++) {
        if (!ReadDataSinogram(skipped + k)) {
            FinishReplacing(output, file, 0);
            return ExitFailed;
        }
        ResampleOnto(Angles, Bins, RotationCentre, binMm, &SampleVolume[lowest + k][0][0]);
    }
    int written = WriteSampleVolumeTo(file);
    if (!FinishReplacing(output, file, written))
        return written ? ExitFailed : RefuseWith(ExitFailed, "cannot write %s (is there room?)", output);
    for (int f = 0; f < FactCount; f++) printf("%s\n", Fact[f]);
    printf("placed: axial positions %ld to %ld on slices %ld to %ld; one pixel %g mm (the data's field %g mm)\n", skipped,
           skipped + kept - 1, lowest, lowest + kept - 1, binMm, SourceFieldMm());
    printf("wrote %s\n max count = %lf   (what Quorvel prints after loading it)\n", Printable(output),
           (double)LargestSample());
    return ExitDone;
}
