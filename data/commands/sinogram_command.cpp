// quorvel_data sinogram: a volume from a built-in phantom or from the teacher's pictures.
#include <stdint.h>
#include <inttypes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "data/commands/command_line.h"
#include "data/commands/data_tool.h"
#include "data/commands/sinogram_command.h"
#include "data/file_replacement.h"
#include "data/host_path.h"
#include "data/phantoms.h"
#include "data/picture_file.h"
#include "data/picture_projection.h"
#include "data/poisson_noise.h"
#include "data/sample_volume.h"
#include "data/tool_error.h"
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
    "                       by name, the first at row 0 (the top of the projection\n"
    "                       images). Fewer than 87 fill the middle rows.\n"
    "Pictures are PGM (P2 or P5) or uncompressed BMP (8-bit grey, or 24-bit colour taken\n"
    "as its grey level 0.299 R + 0.587 G + 0.114 B). One picture pixel is one image\n"
    "pixel: a picture smaller than 256 x 256 is centred, a larger one refused. White is\n"
    "the most active. Each pixel counts as a square of uniform activity, and each bin is\n"
    "the exact sum of the chords through the squares its line crosses, so the only error\n"
    "is rounding (below 1e-12 of the value). Activity more than 127.5 pixels from the\n"
    "centre is outside the scanner's round field; the tool says so.\n"
    "\n"
    "Options:\n"
    "  --scale F          phantom size, 1 = the samples' size; at most what fits the field\n"
    "                     (1.63 for the head, 1.82 for the rods). Default 1.\n"
    "  --counts N         the dose: the largest expected count of a bin, 0.001 to 1e7.\n"
    "                     Default 1000.\n"
    "  --noise poisson|none  Poisson counting noise on every bin, or none. Default poisson.\n"
    "  --seed S           the noise's seed, 0 to 2^64 - 1 or 0x...; the same seed gives\n"
    "                     the same file on every system. Default 1.\n";

const int PhantomKinds = 2;
static const char *const PhantomNames[PhantomKinds] = {"head", "rods"};
const double ScaleMin = 0.05;

const int FolderPicturesMax = Slices;
const int FolderPathBytes = 1024;
static char FolderPaths[FolderPicturesMax][FolderPathBytes];   // the pictures, by name
static int FolderPictureCount;
static char SourceText[FolderPathBytes + 64];   // what the volume was made from, for the report

int PhantomFromOptions(int *phantom, double *scale) {
    *phantom = 0;
    *scale = 1.0;
    if (!ChoiceOption("phantom", PhantomNames, PhantomKinds, phantom)) return 0;
    if (*phantom == 0) BuildHeadPhantom();
    else BuildRodPhantom();
    double reach = PhantomReach(), largest = FieldRadius / reach;
    if (HasOption("scale")) {
        const char *text = OptionText("scale");
        if (!NumberOption("scale", ScaleMin, 1000.0, scale)) return 0;
        if (*scale * reach > FieldRadius)
            return Refuse("--scale %s: the %s would reach %.0f pixels from the centre; the field ends at %.1f, "
                          "so the scale is at most %.2f", text, PhantomNames[*phantom], *scale * reach,
                          FieldRadius, largest - 0.005);
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
               "field; only some angles see it\n", path, FieldRadius);
    }
    ProjectPictureIntoSlice(s);
    return 1;
}

static int MakeFromPictures(const char *picture, const char *folder) {
    ClearSampleVolume();
    if (picture) {
        if (!ProjectPicture(picture, 0)) return 0;
        for (int s = 1; s < Slices; s++) memcpy(SampleVolume[s], SampleVolume[0], sizeof SampleVolume[0]);
        snprintf(SourceText, sizeof SourceText, "%s (%d x %d pixels) on every slice", picture, PictureColumns,
                 PictureRows);
        return 1;
    }
    if (!ListFolder(folder)) return 0;
    int firstRow = (Slices - FolderPictureCount) / 2;
    for (int i = 0; i < FolderPictureCount; i++)
        if (!ProjectPicture(FolderPaths[i], Slices - 1 - (firstRow + i))) return 0;
    snprintf(SourceText, sizeof SourceText, "%d pictures of %s on rows %d to %d", FolderPictureCount, folder,
             firstRow, firstRow + FolderPictureCount - 1);
    return 1;
}

int RunSinogramCommand(int argc, char **argv) {
    if (!SplitArguments(argc, argv, 1, "") || !OnlyOptions("sinogram", "phantom picture folder scale counts noise seed"))
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
    if (noise == 1 && HasOption("seed")) return RefuseWith(ExitUsage, "--seed sets the noise; with --noise none there is none");
    const char *output = Positional[0];

    if (HasOption("phantom")) {
        int phantom;
        double scale;
        if (!PhantomFromOptions(&phantom, &scale)) return ExitUsage;
        ProjectPhantom(counts);
        snprintf(SourceText, sizeof SourceText, "the %s phantom at scale %g, exact chords", PhantomNames[phantom], scale);
    } else {
        if (!MakeFromPictures(OptionText("picture"), OptionText("folder"))) return ExitFailed;
        if (!(LargestSample() > 0.0f))
            return RefuseWith(ExitFailed, "the pictures are black: nothing to project");
        ScaleSampleVolume(counts);
    }
    if (noise == 0) AddPoissonNoise(&SampleVolume[0][0][0], (long)Slices * Angles * Bins, seed);
    if (!WriteReplacing(output, WriteSampleVolume)) return ExitFailed;
    printf("wrote %s: %s; largest expected count %g; ", output, SourceText, counts);
    if (noise == 0) printf("Poisson noise, seed %" PRIu64 "\n", seed);
    else printf("no noise\n");
    printf(" max count = %lf   (what Quorvel prints after loading it)\n", (double)LargestSample());
    return ExitDone;
}
