// quorvel_data mlem: one slice rebuilt iteratively, shown as the program shows its own.
#include <stdio.h>
#include <string.h>

#include "teaching/attenuation.h"
#include "teaching/commands/attenuation_options.h"
#include "teaching/commands/command_line.h"
#include "teaching/commands/data_tool.h"
#include "teaching/commands/mlem_command.h"
#include "teaching/commands/sinogram_command.h"
#include "teaching/file_replacement.h"
#include "teaching/final_picture.h"
#include "teaching/mlem.h"
#include "teaching/mlem_steps.h"
#include "teaching/post_smoothing.h"
#include "teaching/sinogram_reading.h"
#include "teaching/tool_error.h"
#include "recon/geometry.h"

const char *const MlemHelp =
    "quorvel_data mlem INPUT.sino OUTPUT.bmp --row N [options]\n"
    "\n"
    "Rebuilds one slice of a volume by maximum-likelihood expectation maximisation (MLEM),\n"
    "or by its ordered subsets (OSEM), and writes a @PICTURE@ picture with the slice\n"
    "where and as Quorvel shows its final image: 30 % of the peak subtracted, the rest of\n"
    "the peak white, @SCALE@ x @SCALE@ pixels a sample at @FINAL_PLACE@, the first image axis\n"
    "to the right and the second upward. compare measures it as it measures the\n"
    "program's, and it can be held beside the program's own.\n"
    "\n"
    "The model: each pixel is a square of uniform activity, and a bin's expected count is\n"
    "the sum of the exact chords of its line through the squares times their activities\n"
    "(times the line's attenuation factor with --attenuation), the projector of\n"
    "quorvel_data sinogram. Only pixels whose centres lie in the round field, @CENTRE@\n"
    "pixels from the centre, are rebuilt; the rest stay black. The first image is flat;\n"
    "each update multiplies every pixel by the backprojected ratio of measured to\n"
    "expected counts over the pixel's sensitivity, so no pixel goes below 0. After each\n"
    "iteration the tool prints the Poisson log-likelihood of the counts against a perfect\n"
    "fit, the sum over the bins of y ln(e / y) - e + y (y measured, e expected): it is 0\n"
    "only when the model explains every count, and with one subset it never falls.\n"
    "\n"
    "A slice rebuilt with the projector that made its data is the easy case: a scanner's\n"
    "counts come from a continuous body through physics that any model only approximates.\n"
    "\n"
    "Options:\n"
    "  --row N         the slice: the row typed at \"select slice =\", 0 to @LAST_SLICE@ (file slice\n"
    "                  @LAST_SLICE@ - N). Required.\n"
    "  --iterations K  passes through all the counts, 1 to 1000. Default 20.\n"
    "  --subsets S     OSEM: the @ANGLES@ angles in S interleaved subsets (1, 2, 4, 8, 16 or\n"
    "                  32), the image updated after each, so one pass does about the work\n"
    "                  of S MLEM iterations. Default 1: MLEM.\n"
    "  --post-filter F smooths the written picture with a Gaussian of F pixels full width at\n"
    "                  half maximum (0 to 64), as scanners smooth OSEM; the iterations and\n"
    "                  the log-likelihoods are the same. Default 0: none.\n"
    "  --steps DIR     also shows MLEM step by step on DIR/index.html (DIR is made if\n"
    "                  missing): for iterations 1, 2, 5, 10, 20, 50 and the last, the image\n"
    "                  before the update, the measured and expected sinograms, their ratio,\n"
    "                  the ratio backprojected, the sensitivity and the update, as BMP\n"
    "                  pictures with their numbers and grey scales in the captions, and the\n"
    "                  log-likelihood of every iteration as a plot. With one subset only.\n"
    "  --attenuation   puts each line's attenuation factor into the model, which corrects\n"
    "                  for it without dividing the noisy counts by the factors: they keep\n"
    "                  their Poisson statistics. Give the counts as measured (a volume\n"
    "                  made with --attenuation, not --attenuation-corrected) and the map\n"
    "                  as the volume was made:\n"
    "      --phantom head|rods [--scale F]  the phantom's bodies: water, the skull bone\n"
    "      --picture FILE [--mu-map MAP]    water where FILE is not black, or MAP\n"
    "      --mu-map MAP                     a map picture: grey g of 255 is g / 1000 per cm\n"
    "      --pixel-mm D                     the pixel size, as for sinogram. Default 1.3.\n";

const long IterationsDefault = 20;
const long IterationsMax = 1000;
static_assert(IterationsMax <= StepIterationsMax, "the step page plots every iteration");

// The slice's counts must be counts: 0 or more, and some.
static int CheckCounts(const char *path, long row) {
    double total = 0.0;
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            float y = MlemCounts[a][r];
            if (!(y >= 0.0f && y <= 3.0e38f))
                return Refuse("%s: row %ld, angle %d, bin %d holds %g; MLEM needs counts of 0 or more", path, row, a,
                              r, (double)y);
            total += y;
        }
    if (!(total > 0.0)) return Refuse("%s: row %ld holds no counts", path, row);
    return 1;
}

// The map's options go with --attenuation, and it needs one map.
static int CheckMapOptions() {
    if (HasOption("mu-map") && HasOption("phantom")) return Refuse("--mu-map goes with --picture or alone: a phantom knows its own map");
    int maps = HasOption("phantom") + HasOption("picture") + (HasOption("mu-map") && !HasOption("picture"));
    if (!HasOption("attenuation")) {
        static const char *const MapSources[] = {"phantom", "picture", "scale"};
        for (const char *name : MapSources)
            if (HasOption(name)) return Refuse("--%s gives the attenuation map; add --attenuation", name);
    } else if (maps != 1) {
        return Refuse("--attenuation needs one map: --phantom, --picture or --mu-map");
    }
    if (HasOption("scale") && !HasOption("phantom")) return Refuse("--scale sizes a phantom");
    return ReadAttenuationOptions();
}

int RunMlemCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "attenuation") ||
        !OnlyOptions("mlem", "row iterations subsets attenuation phantom scale picture mu-map pixel-mm post-filter steps", ""))
        return ExitUsage;
    if (PositionalCount != 2)
        return RefuseWith(ExitUsage, "mlem takes two words besides its options, the volume and the picture to write "
                                     "(see quorvel_data mlem --help)");
    if (!HasOption("row")) return RefuseWith(ExitUsage, "mlem needs --row N, the row typed at \"select slice =\"");
    long row = 0, iterations = IterationsDefault, subsets = 1;
    if (!WholeOption("row", 0, LastSlice, &row) || !WholeOption("iterations", 1, IterationsMax, &iterations) ||
        !WholeOption("subsets", 1, SubsetsMax, &subsets) || !CheckMapOptions())
        return ExitUsage;
    double fwhm = 0.0;
    if (!NumberOption("post-filter", 0.0, PostFilterFwhmMax, &fwhm)) return ExitUsage;
    const char *steps = OptionText("steps");
    if (steps && subsets > 1)
        return RefuseWith(ExitUsage, "--steps shows MLEM's updates: give --subsets 1 (or leave it out)");
    if (subsets & (subsets - 1))
        return RefuseWith(ExitUsage, "--subsets %ld: give 1, 2, 4, 8, 16 or 32, so that each holds as many angles",
                          subsets);
    int phantom;
    double scale;
    if (HasOption("phantom") && !PhantomFromOptions(&phantom, &scale)) return ExitUsage;

    const char *input = Positional[0], *output = Positional[1];
    const char *inputs[3] = {input, OptionText("picture"), OptionText("mu-map")};
    for (const char *given : inputs)
        if (given && SameFile(output, given))
            return RefuseWith(ExitUsage, "the output %s is also an input; give the picture another name", output);
    int s = LastSlice - (int)row;
    if (!ReadSinogramSlice(input, s, MlemCounts) || !CheckCounts(input, row)) return ExitFailed;
    if (AttenuationAsked && !SliceAttenuation(s)) return ExitFailed;
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) MlemFactor[a][r] = AttenuationAsked ? AttenuationFactor[s][a][r] : 1.0f;

    // The outputs are readied before the iterations, so a place that cannot be written is refused at once.
    FILE *file = BeginReplacing(output);
    if (!file) return ExitFailed;
    if (steps) {
        // One file is replaced at a time: the picture is tried now and written at the end.
        FinishReplacing(output, file, 0);
        if (!BeginSteps(steps, Printable(input), row, (int)iterations)) return ExitFailed;
        file = NULL;
    }
    StartMlem((int)subsets);
    printf("%s, row %ld: %s of %ld subset%s\n", Printable(input), row, subsets > 1 ? "OSEM" : "MLEM", subsets,
           subsets > 1 ? "s" : "");
    if (AttenuationAsked) printf("attenuation in the model: %s\n", AttenuationText());
    printf("log-likelihood against a perfect fit (0), after each iteration:\n   flat start %.3f\n", MlemLogLikelihood);
    NoteStepLikelihood(0, MlemLogLikelihood);
    int stepsWritten = 1;
    for (long k = 1; k <= iterations; k++) {
        int shown = steps && stepsWritten && StepShown((int)k);
        if (shown) CaptureStepStart();
        MlemIteration();
        if (shown) {
            CaptureStepEnd();
            stepsWritten = WriteStepPictures((int)k);
        }
        NoteStepLikelihood((int)k, MlemLogLikelihood);
        printf("%6ld %.3f\n", k, MlemLogLikelihood);
    }
    if (steps && !FinishSteps(stepsWritten)) return ExitFailed;
    if (!file && !(file = BeginReplacing(output))) return ExitFailed;
    SmoothImage(MlemImage, fwhm);
    double peak = 0.0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (MlemImage[p][q] > peak) peak = MlemImage[p][q];
    if (!(peak > 0.0)) {
        FinishReplacing(output, file, 0);
        return RefuseWith(ExitFailed, "%s: row %ld has no counts on lines through the round field", input, row);
    }
    // In shares of the peak, which any float holds.
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) ShownSlice[p][q] = (float)(MlemImage[p][q] / peak);
    int written = WriteFinalPictureTo(file);
    if (!FinishReplacing(output, file, written))
        return written ? ExitFailed : RefuseWith(ExitFailed, "cannot write %s (is there room?)", output);
    if (steps) printf("wrote %s/index.html: the steps of MLEM\n", Printable(steps));
    if (fwhm > 0.0) printf("smoothed the picture with a Gaussian of %g pixels full width at half maximum\n", fwhm);
    printf("wrote %s: the final image after %ld iteration%s\n", Printable(output), iterations,
           iterations > 1 ? "s" : "");
    return ExitDone;
}
