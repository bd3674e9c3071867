// quorvel_data mlem: one slice rebuilt iteratively, shown as the program shows its own.
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "teaching/attenuation.h"
#include "teaching/contamination.h"
#include "teaching/commands/attenuation_options.h"
#include "teaching/commands/command_line.h"
#include "teaching/commands/data_tool.h"
#include "teaching/commands/effect_options.h"
#include "teaching/commands/sinogram_command.h"
#include "teaching/file_replacement.h"
#include "teaching/final_picture.h"
#include "teaching/mlem.h"
#include "teaching/normalisation.h"
#include "teaching/picture_file.h"
#include "teaching/picture_projection.h"
#include "teaching/poisson_noise.h"
#include "teaching/sample_volume.h"
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
    "only when the model explains every count, and with one subset it never falls. Each\n"
    "line is flushed as it is made, so a log file (mlem ... > log) follows the run. Counts\n"
    "on lines that miss the field are refused before the first iteration when they are\n"
    "all there are, and told on standard error when some are.\n"
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
    "      --pixel-mm D                     the pixel size, as for sinogram. Default 1.3.\n"
    "                  A black picture or map attenuates nothing and is refused.\n"
    "  --model LIST    puts the effects named in LIST (scatter, randoms, normalisation;\n"
    "                  attenuation as --attenuation) into the model: the efficiencies\n"
    "                  multiply each line's chords, and the scatter and randoms are added\n"
    "                  to its expected count, so no noisy count is divided or made\n"
    "                  negative. Give what made the volume, as sinogram took it:\n"
    "      --scatter F, --randoms F, --normalisation SPREAD, --seed S  the effects\n"
    "      --phantom head|rods or --picture FILE, --counts N  the source and the dose,\n"
    "                  for scatter and randoms (with --attenuation when it was attenuated)\n"
    "                  Example: mlem in.sino out.bmp --row 43 --picture p.pgm --counts 300\n"
    "                  --scatter 0.3 --randoms 0.2 --model scatter,randoms\n";

const long IterationsDefault = 20;
const long IterationsMax = 1000;
static_assert(IterationsMax <= StepIterationsMax, "the step page plots every iteration");

// The slice's counts must be counts: 0 or more, and some.
static int CheckCounts(const char *path, long row) {
    double total = 0.0;
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            float y = MlemCounts[a][r];
            if (!isfinite(y))
                return Refuse("%s: row %ld, angle %d, bin %d holds %g, which is no count; MLEM needs finite counts",
                              path, row, a, r, (double)y);
            if (y < 0.0f)
                return Refuse("%s: row %ld, angle %d, bin %d holds %g; MLEM needs counts of 0 or more", path, row, a,
                              r, (double)y);
            // Above this the sums of a line's expected counts overflow a float.
            if (y > 3.0e38f)
                return Refuse("%s: row %ld, angle %d, bin %d holds %g; MLEM takes counts up to 3e+38", path, row, a,
                              r, (double)y);
            total += y;
        }
    if (!(total > 0.0)) return Refuse("%s: row %ld holds no counts", path, row);
    return 1;
}

// Counts on a line that meets no pixel of the round field (or that the map lets nothing
// through) no image can explain: refused when they are all there is, told when some.
static int CheckFieldCounts(const char *path, long row) {
    double inside = 0.0, outside = 0.0;
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            if (MlemExpected[a][r] > 0.0) inside += MlemCounts[a][r];
            else outside += MlemCounts[a][r];
        }
    if (!(inside > 0.0))
        return Refuse("%s: row %ld has counts only on lines that miss the round field (%.1f pixels from the centre); "
                      "no image explains them", path, row, FieldRadius);
    if (outside > 0.0)
        fprintf(stderr, "quorvel_data: note: %g of the %g counts of row %ld lie on lines that miss the round field; "
                        "the fit and its log-likelihood leave them out\n", outside, inside + outside, row);
    return 1;
}

// Scatter and randoms in the model are made from the source's true counts.
static int ModelNeedsTrues() { return (ModelMask & (EffectScatter | EffectRandoms)) != 0; }

// The options that describe the volume for the model, and what each needs.
static int CheckEffectOptions() {
    if (!ReadEffectOptions(HasOption("attenuation")) || !ReadModelOptions()) return 0;
    if ((ModelMask & EffectAttenuation) && !HasOption("attenuation"))
        return Refuse("--model attenuation takes the map as --attenuation does; add --attenuation and the map");
    if (HasOption("counts") && !ModelNeedsTrues())
        return Refuse("--counts is the volume's dose, for scatter or randoms in the model; add --model scatter or randoms");
    if (HasOption("seed") && !EffectsNormalised) return Refuse("--seed draws the efficiencies; add --normalisation");
    if (ModelNeedsTrues() && HasOption("phantom") + HasOption("picture") != 1)
        return Refuse("--model %s: scatter and randoms are made from the volume's source; give --phantom or --picture",
                      EffectListText(ModelMask));
    return 1;
}

// The map's options go with --attenuation, and it needs one map.
static int CheckMapOptions() {
    if (HasOption("mu-map") && HasOption("phantom")) return Refuse("--mu-map goes with --picture or alone: a phantom knows its own map");
    int maps = HasOption("phantom") + HasOption("picture") + (HasOption("mu-map") && !HasOption("picture"));
    if (!HasOption("attenuation") && HasOption("model")) {   // the source that made the volume, used when needed
        if (HasOption("mu-map")) return Refuse("--mu-map gives the attenuation map; add --attenuation");
    } else if (!HasOption("attenuation")) {
        static const char *const MapSources[] = {"phantom", "picture", "scale"};
        for (const char *name : MapSources)
            if (HasOption(name)) return Refuse("--%s gives the attenuation map; add --attenuation", name);
    } else if (maps != 1) {
        return Refuse("--attenuation needs one map: --phantom, --picture or --mu-map");
    }
    if (HasOption("scale") && !HasOption("phantom")) return Refuse("--scale sizes a phantom");
    return ReadAttenuationOptions();
}

// Slice s of SampleVolume: the source's true counts at the dose, as sinogram makes them.
static int TrueSlice(int s, double counts) {
    if (HasOption("phantom")) {
        ProjectPhantom(counts);
        return 1;
    }
    if (!ReadPicture(OptionText("picture"), ImageSide, ImageSide, "a slice")) return 0;
    memset(SampleVolume, 0, sizeof SampleVolume);
    ProjectPictureIntoSlice(s);
    if (!(LargestSample() > 0.0f)) return Refuse("%s is black: nothing to project", OptionText("picture"));
    ScaleSampleVolume(counts);
    return 1;
}

// MlemFactor and MlemAdditive of slice s: the model's factors and terms, made as the
// sinogram tool made the data's.
static void ModelSlice(int s, uint64_t seed) {
    PrepareEfficiencies(seed);
    if (ModelNeedsTrues()) {
        if (AttenuationAsked)
            for (int a = 0; a < Angles; a++)
                for (int r = 0; r < Bins; r++) SampleVolume[s][a][r] *= AttenuationFactor[s][a][r];
        StartContamination();
        ContaminateSlice(s);
    }
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            double factor = AttenuationAsked ? AttenuationFactor[s][a][r] : 1.0;
            if (ModelMask & EffectNormalisation) factor *= LineEfficiency(s, a, r);
            MlemFactor[a][r] = (float)factor;
            double added = 0.0;
            if (ModelMask & EffectScatter) added += ScatterCounts[s][a][r];
            if (ModelMask & EffectRandoms) added += RandomsPerLine[s];
            MlemAdditive[a][r] = (float)added;
        }
}

int RunMlemCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "attenuation") ||
        !OnlyOptions("mlem", "row iterations subsets attenuation phantom scale picture mu-map pixel-mm model scatter "
                             "randoms normalisation seed counts post-filter steps", ""))
        return ExitUsage;
    if (PositionalCount != 2)
        return RefuseWith(ExitUsage, "mlem takes two words besides its options, the volume and the picture to write "
                                     "(see quorvel_data mlem --help)");
    if (!HasOption("row")) return RefuseWith(ExitUsage, "mlem needs --row N, the row typed at \"select slice =\"");
    long row = 0, iterations = IterationsDefault, subsets = 1;
    if (!WholeOption("row", 0, LastSlice, &row) || !WholeOption("iterations", 1, IterationsMax, &iterations) ||
        !CheckEffectOptions() || !CheckMapOptions())
        return ExitUsage;
    const char *subsetsText = OptionText("subsets");
    if (subsetsText && (!ReadWhole(subsetsText, &subsets) || subsets < 1 || subsets > SubsetsMax || (subsets & (subsets - 1))))
        return RefuseWith(ExitUsage, "--subsets %s: give 1, 2, 4, 8, 16 or 32, so that each holds as many angles",
                          subsetsText);
    double fwhm = 0.0;
    if (!NumberOption("post-filter", 0.0, PostFilterFwhmMax, &fwhm)) return ExitUsage;
    const char *steps = OptionText("steps");
    if (steps && subsets > 1)
        return RefuseWith(ExitUsage, "--steps shows MLEM's updates: give --subsets 1 (or leave it out)");
    int phantom;
    double scale, counts = 1000.0;
    uint64_t seed = 1;
    if (!NumberOption("counts", 0.001, PoissonMeanLimit, &counts) || !SeedOption("seed", &seed)) return ExitUsage;
    if (HasOption("phantom") && !PhantomFromOptions(&phantom, &scale)) return ExitUsage;

    const char *input = Positional[0], *output = Positional[1];
    const char *inputs[3] = {input, OptionText("picture"), OptionText("mu-map")};
    for (const char *given : inputs)
        if (given && SameFile(output, given))
            return RefuseWith(ExitUsage, "the output %s is also an input; give the picture another name", output);
    int s = LastSlice - (int)row;
    if (!ReadSinogramSlice(input, s, MlemCounts) || !CheckCounts(input, row)) return ExitFailed;
    if (ModelNeedsTrues() && !TrueSlice(s, counts)) return ExitFailed;
    if (AttenuationAsked && (!SliceAttenuation(s) || !CheckSomethingAttenuates())) return ExitFailed;
    ModelSlice(s, seed);
    StartMlem((int)subsets);
    if (!CheckFieldCounts(input, row)) return ExitFailed;

    // The outputs are readied before the iterations, so a place that cannot be written is refused at once.
    FILE *file = BeginReplacing(output);
    if (!file) return ExitFailed;
    if (steps) {
        // One file is replaced at a time: the picture is tried now and written at the end.
        FinishReplacing(output, file, 0);
        if (!BeginSteps(steps, Printable(input), row, (int)iterations)) return ExitFailed;
        file = NULL;
    }

    printf("%s, row %ld: %s of %ld subset%s\n", Printable(input), row, subsets > 1 ? "OSEM" : "MLEM", subsets,
           subsets > 1 ? "s" : "");
    if (AttenuationAsked) printf("attenuation in the model: %s\n", AttenuationText());
    if (ModelMask & ~EffectAttenuation) printf("in the model: %s\n", EffectListText(ModelMask & ~EffectAttenuation));
    printf("log-likelihood against a perfect fit (0), after each iteration:\n   flat start %.3f\n", MlemLogLikelihood);
    // Each line reaches a log file as it is made, not when the run ends.
    fflush(stdout);
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
        fflush(stdout);
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
