// quorvel_data sinogram: a volume from a built-in phantom or from the teacher's pictures.
#include <stdint.h>
#include <inttypes.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include <filesystem>
#include <string>
#include <system_error>

#include "teaching/attenuation.h"
#include "teaching/contamination.h"
#include "teaching/commands/attenuation_options.h"
#include "teaching/commands/command_line.h"
#include "teaching/commands/data_tool.h"
#include "teaching/commands/effect_options.h"
#include "teaching/commands/sinogram_command.h"
#include "teaching/file_replacement.h"
#include "teaching/host_path.h"
#include "teaching/phantoms.h"
#include "teaching/picture_file.h"
#include "teaching/picture_projection.h"
#include "teaching/poisson_noise.h"
#include "teaching/sample_volume.h"
#include "teaching/tool_error.h"
#include "recon/geometry.h"

const char *const SinogramHelp =
    "quorvel_data sinogram OUTPUT.sino SOURCE [options]\n"
    "\n"
    "Writes a sinogram volume that Quorvel opens at \"Load PET Singram data\", and prints\n"
    "the max count Quorvel will show for it.\n"
    "\n"
    "SOURCE is one of:\n"
    "  --phantom head|rods  a built-in phantom, projected exactly (the chord through every\n"
    "                       body). head: scalp, skull, brain, ventricles, hot and cold\n"
    "                       spheres, three hot and one cold on row 43. rods: a cylinder\n"
    "                       with six groups of hot rods, 12 to 2 pixels across.\n"
    "  --picture FILE       one grey picture, used for every slice.\n"
    "  --folder DIR         one picture per slice: the .pgm and .bmp files of DIR sorted\n"
    "                       by name onto rows one after another (row 0 is the top of\n"
    "                       the projection images). @SLICES@ pictures fill rows 0 to @LAST_SLICE@;\n"
    "                       fewer fill the middle rows, from row (@SLICES@ - count) / 2 on.\n"
    "Pictures are PGM (P2 or P5) or uncompressed BMP (8-bit grey, or 24-bit colour taken\n"
    "as its grey level 0.299 R + 0.587 G + 0.114 B). One picture pixel is one image\n"
    "pixel: a picture smaller than @SIDE@ x @SIDE@ is centred, a larger one refused. White is\n"
    "the most active. Each pixel counts as a square of uniform activity, and each bin is\n"
    "the exact sum of the chords through the squares its line crosses, so the only error\n"
    "is rounding (below 1e-12 of the value). Activity more than @CENTRE@ pixels from the\n"
    "centre is outside the scanner's round field; the tool says so.\n"
    "\n"
    "Options:\n"
    "  --scale F          phantom size, 1 = the samples' size; at most what fits the field\n"
    "                     (1.63 for the head, 1.82 for the rods). Default 1.\n"
    "  --counts N         the dose: the largest expected count of a bin, 0.001 to 1e7.\n"
    "                     Default 1000.\n"
    "  --noise poisson|none  Poisson counting noise on every bin, or none. Default poisson.\n"
    "  --seed S           the noise's seed, 0 to 2^64 - 1 or 0x...; the same seed gives\n"
    "                     the same file on every system. Default 1.\n"
    "  --attenuation      multiplies each line's expected count by the chance that both\n"
    "                     photons leave the body, exp(-(the integral of mu along it)),\n"
    "                     before the noise: soft tissue is water, 0.096 per cm at 511 keV,\n"
    "                     the head's skull bone, 0.17 per cm; a picture is water wherever\n"
    "                     it is not black (a black map is refused: it attenuates nothing).\n"
    "                     Rows that no picture fills let every count through. --counts\n"
    "                     stays the dose before attenuation.\n"
    "  --attenuation-corrected  the same, then divides each noisy bin by its factor, as a\n"
    "                     scanner does with a measured map: the middle comes back, and its\n"
    "                     noise grows.\n"
    "  --mu-map MAP       with --picture: the map as a picture of the same size, grey g of\n"
    "                     255 being g / 1000 per cm (96 water, 170 bone).\n"
    "  --pixel-mm D       the size of a pixel, 0.05 to 5 mm. Default 1.3, which makes the\n"
    "                     head phantom 20 cm from front to back.\n"
    "\n"
    "What else a scanner counts, each on its own or together, all before the noise, in\n"
    "the order a scanner sees them. A line's expected count is\n"
    "    efficiency x (attenuation x trues + scatter) + randoms:\n"
    "the line's two crystals detect the trues and the scatter alike, the randoms are a\n"
    "flat floor. --counts stays the largest expected true count before any effect; the\n"
    "tool prints each component's share of the expected counts written.\n"
    "  --scatter F        scattered photons, F of trues plus scatter (0 up to, not\n"
    "                     including, 1; 3D PET: 0.3 to 0.5): the slice's true (attenuated)\n"
    "                     sinogram blurred along the bins by a Gaussian of 15 bins standard\n"
    "                     deviation. It reaches lines that miss the body.\n"
    "  --randoms F        random coincidences, F of all counts of the slice (0 up to, not\n"
    "                     including, 1; often 0.1 to 0.3), the same on every line.\n"
    "  --normalisation SPREAD  unequal detectors: each slice is a ring of 256 crystals,\n"
    "                     line (a, r) joining crystals (a + r) mod 256 and (a - r + 128)\n"
    "                     mod 256, its efficiency the product of theirs. Each crystal of\n"
    "                     each ring is drawn about 1 with standard deviation SPREAD, 0 to\n"
    "                     0.2 (scanners 0.05 to 0.1), cut at 3 SPREAD; --seed draws them\n"
    "                     (with --noise none too), apart from the noise's draws.\n"
    "  --corrected LIST   undoes, after the noise, the effects named in LIST, any of\n"
    "                     attenuation,scatter,randoms,normalisation, with the known expected\n"
    "                     terms: (measured - randoms - scatter) / (attenuation x efficiency),\n"
    "                     each part only when named. Each must be in the data (--corrected\n"
    "                     attenuation goes with --attenuation). Noise-free, every list of\n"
    "                     all the effects gives back the plain counts.\n"
    "  --scatter-estimate K  subtracts K times the scatter, 0 to 5: below 1 under-corrects,\n"
    "                     above 1 over-corrects.\n"
    "  --correction-mu-map MAP  the attenuation correction with another map (a picture as\n"
    "                     for --mu-map, the picture's size with --picture; centred).\n"
    "  --map-right D, --map-up D  the correction's map moved D pixels along the image's\n"
    "                     first axis or its second, -50 to 50: a patient who moved between\n"
    "                     the CT and the PET.\n";

const int PhantomKinds = 2;
static const char *const PhantomNames[PhantomKinds] = {"head", "rods"};
const double ScaleMin = 0.05;

const int FolderPicturesMax = Slices;
const int FolderPathBytes = ArgumentBytesMax + 256;   // the folder's name and a file name in it
static char FolderPaths[FolderPicturesMax][FolderPathBytes];   // the pictures, by name
static int FolderPictureCount;
static char SourceText[4 * FolderPathBytes + 128];   // what the volume was made from, names shown escaped
static float DeepestFactor;                          // the smallest attenuation factor of the data

int PhantomFromOptions(int *phantom, double *scale) {
    *phantom = 0;
    *scale = 1.0;
    if (!ChoiceOption("phantom", PhantomNames, PhantomKinds, phantom)) return 0;
    if (*phantom == 0) BuildHeadPhantom();
    else BuildRodPhantom();
    double reach = PhantomReach(), largest = FieldRadius / reach;
    if (HasOption("scale")) {
        const char *text = OptionText("scale");
        // Two decimals, rounded down, so that the largest named fits.
        double named = floor(100.0 * largest) / 100.0;
        if (!ReadDecimal(text, scale) || *scale < ScaleMin)
            return Refuse("--scale %s: give a number from %g to %.2f (the largest that fits the field for the %s)",
                          text, ScaleMin, named, PhantomNames[*phantom]);
        if (*scale * reach > FieldRadius)
            return Refuse("--scale %s: the %s would reach %.0f pixels from the centre; the field ends at %.1f, "
                          "so the scale is at most %.2f", text, PhantomNames[*phantom], *scale * reach,
                          FieldRadius, named);
    }
    if (*scale != 1.0) ScalePhantom(*scale);
    return 1;
}

static int IsPictureName(const std::string &name) {
    std::string lower = name;
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    size_t n = lower.size();
    return n > 4 && (lower.compare(n - 4, 4, ".pgm") == 0 || lower.compare(n - 4, 4, ".bmp") == 0);
}

static int ComparePaths(const void *a, const void *b) {
    return strcmp((const char *)a, (const char *)b);
}

static int ListFolder(const char *folder) {
    std::error_code error;
    std::filesystem::path host = HostPath(folder);
    if (!std::filesystem::is_directory(host, error)) return Refuse("%s is not a folder", folder);
    FolderPictureCount = 0;
    std::filesystem::directory_iterator entries(host, error), end;
    if (error) return Refuse("cannot read the folder %s", folder);
    for (; entries != end; entries.increment(error)) {
        if (error) return Refuse("cannot read the folder %s", folder);
        std::string name = entries->path().filename().string();
        if (!IsPictureName(name) || !entries->is_regular_file(error)) continue;
        if (FolderPictureCount >= FolderPicturesMax)
            return Refuse("%s holds more than %d pictures; a volume has %d slices", folder, FolderPicturesMax, Slices);
        if (!HostPathText(entries->path(), FolderPaths[FolderPictureCount++], FolderPathBytes))
            return Refuse("%s: a picture's name is too long or has a character that this system's code page lacks",
                          folder);
    }
    if (FolderPictureCount == 0) return Refuse("%s holds no .pgm or .bmp pictures", folder);
    qsort(FolderPaths, FolderPictureCount, FolderPathBytes, ComparePaths);
    return 1;
}

static void ClearSampleVolume() {
    memset(SampleVolume, 0, sizeof SampleVolume);
}

static int ProjectPicture(const char *path, int s) {
    if (!ReadPicture(path, ImageSide, ImageSide, "a slice")) return 0;
    if (PictureLeavesField()) {
        printf("note: %s has activity more than %.1f pixels from the centre, outside the scanner's round "
               "field; only some angles see it\n", Printable(path), FieldRadius);
    }
    ProjectPictureIntoSlice(s);
    return !AttenuationAsked || PictureSliceAttenuation(s);
}

// On a terminal, the slices done so far, rewritten in place; elsewhere nothing.
static void ShowProgress(int done, int total) {
    if (!isatty(fileno(stderr))) return;
    if (done < total) fprintf(stderr, "\rquorvel_data: slice %d of %d ", done, total);
    else fprintf(stderr, "\r%40s\r", "");
    fflush(stderr);
}

// An output that would replace one of the pictures it is made from.
static int OverwritesInput(const char *output, const char *picture) {
    if (HasOption("mu-map") && SameFile(output, OptionText("mu-map"))) return 1;
    if (HasOption("correction-mu-map") && SameFile(output, OptionText("correction-mu-map"))) return 1;
    if (picture) return SameFile(output, picture);
    for (int i = 0; i < FolderPictureCount; i++)
        if (SameFile(output, FolderPaths[i])) return 1;
    return 0;
}

static int MakeFromPictures(const char *picture, const char *folder) {
    ClearSampleVolume();
    if (picture) {
        if (!ProjectPicture(picture, 0)) return 0;
        for (int s = 1; s < Slices; s++) memcpy(SampleVolume[s], SampleVolume[0], sizeof SampleVolume[0]);
        if (AttenuationAsked) SpreadAttenuation(0);
        snprintf(SourceText, sizeof SourceText, "%s (%d x %d pixels) on every slice", Printable(picture),
                 PictureColumns, PictureRows);
        return 1;
    }
    int firstRow = (Slices - FolderPictureCount) / 2;
    for (int i = 0; i < FolderPictureCount; i++) {
        if (!ProjectPicture(FolderPaths[i], Slices - 1 - (firstRow + i))) return 0;
        ShowProgress(i + 1, FolderPictureCount);
    }
    snprintf(SourceText, sizeof SourceText, "%d picture%s of %s on rows %d to %d", FolderPictureCount,
             FolderPictureCount > 1 ? "s" : "", Printable(folder), firstRow, firstRow + FolderPictureCount - 1);
    return 1;
}

// Projects the source the options name into SampleVolume, scaled to the dose, with the
// noise asked for; returns the exit status.
static int MakeVolume(int phantom, double scale, double counts, int noise, uint64_t seed) {
    if (HasOption("phantom")) {
        SliceProjected = ShowProgress;
        ProjectPhantom(counts);
        SliceProjected = nullptr;
        if (AttenuationAsked) PhantomVolumeAttenuation();
        snprintf(SourceText, sizeof SourceText, "the %s phantom at scale %g, exact chords", PhantomNames[phantom], scale);
    } else {
        if (!MakeFromPictures(OptionText("picture"), OptionText("folder"))) return ExitFailed;
        if (!(LargestSample() > 0.0f))
            return RefuseWith(ExitFailed, "the pictures are black: nothing to project");
        ScaleSampleVolume(counts);
    }
    if (AttenuationAsked && !CheckSomethingAttenuates()) return ExitFailed;
    if (AttenuationAsked) ApplyAttenuation();
    DeepestFactor = AttenuationAsked ? SmallestAttenuation() : 1.0f;
    if (EffectsAsked & ~EffectAttenuation) {
        PrepareEfficiencies(seed);
        ContaminateVolume();
    }
    if (noise == 0) AddPoissonNoise(&SampleVolume[0][0][0], (long)Slices * Angles * Bins, seed);
    if (AttenuationCorrected) CorrectAttenuation();
    if (CorrectedMask) {
        int columns = HasOption("picture") ? PictureColumns : 0, rows = HasOption("picture") ? PictureRows : 0;
        if ((CorrectedMask & EffectAttenuation) && !CorrectionAttenuation(columns, rows)) return ExitFailed;
        for (int s = 0; s < Slices; s++) CorrectSlice(s, CorrectedMask, ScatterEstimate);
    }
    return ExitDone;
}

int RunSinogramCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "attenuation attenuation-corrected") ||
        !OnlyOptions("sinogram", "phantom picture folder scale counts noise seed attenuation attenuation-corrected mu-map "
                                 "pixel-mm scatter randoms normalisation corrected scatter-estimate correction-mu-map "
                                 "map-right map-up", ""))
        return ExitUsage;
    if (PositionalCount != 1)
        return RefuseWith(ExitUsage, "sinogram takes one word besides its options, the output file (see quorvel_data "
                                     "sinogram --help)");
    int sources = HasOption("phantom") + HasOption("picture") + HasOption("folder");
    if (sources != 1)
        return RefuseWith(ExitUsage, "sinogram needs one source: --phantom, --picture or --folder");
    if (HasOption("scale") && !HasOption("phantom"))
        return RefuseWith(ExitUsage, "--scale sizes a phantom; a picture keeps its own size");
    double counts = 1000.0;
    int noise = 0;   // 0: Poisson, 1: none
    uint64_t seed = 1;
    static const char *const NoiseNames[2] = {"poisson", "none"};
    if (!NumberOption("counts", 0.001, PoissonMeanLimit, &counts) || !ChoiceOption("noise", NoiseNames, 2, &noise) ||
        !SeedOption("seed", &seed))
        return ExitUsage;
    if (noise == 1 && HasOption("seed") && !HasOption("normalisation"))
        return RefuseWith(ExitUsage, "--seed sets the noise and the efficiencies; with --noise none and no "
                                     "--normalisation there is neither");
    if (!ReadAttenuationOptions() || !ReadEffectOptions(AttenuationAsked) || !ReadCorrectionOptions()) return ExitUsage;
    const char *output = Positional[0];
    if (HasOption("folder") && !ListFolder(OptionText("folder"))) return ExitFailed;
    if (OverwritesInput(output, OptionText("picture")))
        return RefuseWith(ExitUsage, "the output %s is a picture the volume is made from; give the volume another name",
                          output);

    int phantom = 0;
    double scale = 1.0;
    if (HasOption("phantom") && !PhantomFromOptions(&phantom, &scale)) return ExitUsage;
    // The output is made ready first, so that a folder that is not there is told at once,
    // not after the projections.
    FILE *file = BeginReplacing(output);
    if (!file) return ExitFailed;
    int status = MakeVolume(phantom, scale, counts, noise, seed);
    if (status != ExitDone) {
        FinishReplacing(output, file, 0);
        return status;
    }
    int written = WriteSampleVolumeTo(file);
    if (!FinishReplacing(output, file, written))
        return written ? ExitFailed : RefuseWith(ExitFailed, "cannot write %s (is there room?)", output);
    printf("wrote %s: %s; largest expected count %g; ", Printable(output), SourceText, counts);
    if (noise == 0) printf("Poisson noise, seed %" PRIu64 "\n", seed);
    else printf("no noise\n");
    if (AttenuationAsked) {
        printf("attenuated by %s; ", AttenuationText());
        PrintSmallestAttenuation(DeepestFactor, AttenuationCorrected ? ", and every bin is divided by its factor" : "");
    }
    if (EffectsAsked & ~EffectAttenuation) PrintShares();
    if (EffectsNormalised)
        printf("detector efficiencies drawn about 1 with a spread of %g, seed %" PRIu64 "\n", NormalisationSpread, seed);
    if (CorrectedMask)
        printf("corrected for %s with the known expected terms%s\n", EffectListText(CorrectedMask),
               CorrectedMask & EffectScatter && ScatterEstimate != 1.0 ? ", the scatter scaled by --scatter-estimate"
                                                                        : "");
    printf(" max count = %lf   (what Quorvel prints after loading it)\n", (double)LargestSample());
    return ExitDone;
}
