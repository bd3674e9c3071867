// make_samples: writes the sample data of the reconstruction program into a folder.
//
//   make_samples OUTPUT_FOLDER
//
// Creates OUTPUT_FOLDER if needed and writes into it four sinogram volumes (a head
// phantom and a resolution phantom, each noise-free and with Poisson noise), the noisy
// head at three doses, twelve filter files (six at full cutoff, six cut at half the
// Nyquist frequency) and README.txt, which says what each file holds. The same bytes come out on
// every run and every build. Prints one line per file; exits with 1 and a message on
// standard error when a file cannot be written.
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <system_error>

#include "teaching/filter_taps.h"
#include "teaching/geometry_text.h"
#include "teaching/phantoms.h"
#include "teaching/poisson_noise.h"
#include "teaching/sample_volume.h"

const int PathBytes = 4096;
static char PathBuffer[PathBytes];   // folder/name of the file being written

const int Phantoms = 2;
const char *const PhantomStems[Phantoms] = {"head", "rods"};
const double PhantomPeaks[Phantoms] = {1000.0, 600.0};   // largest noise-free count
const uint64_t PhantomSeeds[Phantoms] = {0x5EED0001ULL, 0x5EED0002ULL};

// The head at three doses, each noise drawn from its count as seed, as the tour's lesson
// makes them with quorvel_data.
const int Doses = 3;
const int DoseCounts[Doses] = {100, 1000, 10000};

// The filters cut at half the Nyquist frequency: less noise, less sharpness.
const double HalfCutoff = 0.5;
const int ButterworthOrder = 4;

static const char *const ReadmeText =
    "Sample data for the PET reconstruction program, written by make_samples.\n"
    "\n"
    "Sinogram volumes (24-byte header, then @SLICES@ slices x @ANGLES@ angles x @BINS@ bins of\n"
    "little-endian 32-bit floats). Slice 0 is the bottom row of the projection\n"
    "images. Bin r of angle a integrates the slice along the line\n"
    "x cos(th) + y sin(th) = r - @CENTRE@, th = a x @ANGLE_STEP@ degrees, where x runs to the\n"
    "right and y upward in the final image, in pixels from the image centre.\n"
    "\n"
    "  head.sino             Head phantom: scalp (1.2 times the brain's activity), skull\n"
    "                        (0.3), brain (1), ventricles, a flat region low at the back,\n"
    "                        hot spheres (radius 4 to 9 pixels, 1.8 to 2.5) and cold\n"
    "                        spheres (0) at several heights. Three hot spheres and a cold\n"
    "                        one sit on file slice 43, which is row 43 of the projection\n"
    "                        images. Exact line integrals, largest count 1000.\n"
    "  head_poisson.sino     The same with Poisson counting noise.\n"
    "  rods.sino             Resolution phantom: a uniform cylinder (radius 70 pixels,\n"
    "                        slices 9 to 77) holding hot rods four times as active\n"
    "                        (slices 19 to 67) in six triangular groups; rod diameters\n"
    "                        12, 8, 6, 4, 3 and 2 pixels, anticlockwise from the top.\n"
    "                        Largest count 600.\n"
    "  rods_poisson.sino     The same with Poisson counting noise.\n"
    "  head_100.sino         The head with Poisson noise at a largest expected count of\n"
    "  head_1000.sino        100, 1000 and 10000: the dose. At low counts the ramp filter's\n"
    "  head_10000.sino       noise drowns the small spheres; the windowed filters keep\n"
    "                        them. (quorvel_data sinogram --phantom head --counts N --seed N\n"
    "                        writes the same files.)\n"
    "\n"
    "Real-space filters (128 taps, one per line; tap n weights bins n away on both\n"
    "sides). The ramp family is scaled so that tap 0 is 10.\n"
    "\n"
    "  ramp.txt         Ramp (Ram-Lak): 1/4 at 0, -1/(pi^2 n^2) at odd n, 0 at even n.\n"
    "  shepp_logan.txt  Shepp-Logan: -2/(pi^2 (4 n^2 - 1)).\n"
    "  cosine.txt       Ramp with the window cos(pi f).\n"
    "  hamming.txt      Ramp with the window 0.54 + 0.46 cos(2 pi f).\n"
    "  hann.txt         Ramp with the window 0.5 + 0.5 cos(2 pi f).\n"
    "  delta.txt        Tap 0 = 1, all others 0: filtered backprojection with it\n"
    "                   equals simple backprojection.\n"
    "(f in cycles per bin, 0 to 1/2.)\n"
    "\n"
    "The same filters cut off at half the Nyquist frequency (f = 1/4): the windows are\n"
    "stretched to end there and the ramp stops there, so the noise of the finest detail\n"
    "is gone and so is that detail.\n"
    "\n"
    "  ramp_half.txt, shepp_logan_half.txt, cosine_half.txt, hamming_half.txt,\n"
    "  hann_half.txt\n"
    "  butterworth_half.txt  Ramp with the window 1 / (1 + (f / (1/4))^8): half its\n"
    "                   height (a quarter of the power) at f = 1/4, falling smoothly\n"
    "                   beyond it.\n"
    "(quorvel_data filter writes any of them at any cutoff; see its --help.)\n";

static const char *PathOf(const char *folder, const char *name) {
    snprintf(PathBuffer, PathBytes, "%s/%s", folder, name);
    return PathBuffer;
}

static int Fail(const char *what) {
    fprintf(stderr, "make_samples: cannot write %s\n", what);
    return 1;
}

static int WriteReadme(const char *path) {
    FILE *file = fopen(path, "wb");
    if (!file) return 0;
    static char text[GeometryTextBytes];   // the text with the geometry's numbers
    FillGeometry(ReadmeText, text);
    size_t length = strlen(text);
    int ok = fwrite(text, 1, length, file) == length;
    if (fclose(file) != 0) ok = 0;
    return ok;
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_samples OUTPUT_FOLDER\n");
        return 2;
    }
    const char *folder = argv[1];
    if (strlen(folder) > (size_t)PathBytes - 64) return Fail(folder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return Fail(folder);

    for (int p = 0; p < Phantoms; p++) {
        if (p == 0) BuildHeadPhantom();
        else BuildRodPhantom();
        ProjectPhantom(PhantomPeaks[p]);
        char name[64];
        snprintf(name, sizeof name, "%s.sino", PhantomStems[p]);
        if (!WriteSampleVolume(PathOf(folder, name))) return Fail(PathBuffer);
        printf("%s\n", PathBuffer);
        AddPoissonNoise(&SampleVolume[0][0][0], (long)Slices * Angles * Bins, PhantomSeeds[p]);
        snprintf(name, sizeof name, "%s_poisson.sino", PhantomStems[p]);
        if (!WriteSampleVolume(PathOf(folder, name))) return Fail(PathBuffer);
        printf("%s\n", PathBuffer);
    }
    BuildHeadPhantom();
    for (int d = 0; d < Doses; d++) {
        ProjectPhantom(DoseCounts[d]);
        AddPoissonNoise(&SampleVolume[0][0][0], (long)Slices * Angles * Bins, (uint64_t)DoseCounts[d]);
        char name[64];
        snprintf(name, sizeof name, "head_%d.sino", DoseCounts[d]);
        if (!WriteSampleVolume(PathOf(folder, name))) return Fail(PathBuffer);
        printf("%s\n", PathBuffer);
    }
    for (int kind = 0; kind < FilterKindCount; kind++) {
        const char *name = FilterKindTable[kind].fileName;
        double taps[FilterTapCount];
        if (!name) continue;
        MakeFilterTaps(kind, taps);
        if (!WriteFilterFile(PathOf(folder, name), taps)) return Fail(PathBuffer);
        printf("%s\n", PathBuffer);
    }
    for (int kind = 0; kind < FilterKindCount; kind++) {
        const char *name = FilterKindTable[kind].halfFileName;
        double taps[FilterTapCount];
        if (!name) continue;
        MakeCutFilterTaps(kind, HalfCutoff, ButterworthOrder, FilterTapCount, taps);
        if (!WriteFilterFile(PathOf(folder, name), taps)) return Fail(PathBuffer);
        printf("%s\n", PathBuffer);
    }
    if (!WriteReadme(PathOf(folder, "README.txt"))) return Fail(PathBuffer);
    printf("%s\n", PathBuffer);
    return 0;
}
