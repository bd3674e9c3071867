// quorvel_data as a teacher uses it: every refusal in one line with no file left
// behind, a picture that comes back through the program's own reconstruction, and the
// figures of compare on pictures whose answer is known.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#else
#include <process.h>
#endif

#include <gtest/gtest.h>

#include "teaching/attenuation.h"
#include "teaching/commands/data_tool.h"
#include "teaching/html_page.h"
#include "teaching/filter_taps.h"
#include "teaching/final_picture.h"
#include "teaching/geometry_text.h"
#include "teaching/picture_bytes.h"
#include "teaching/tool_run.h"
#include "teaching/picture_file.h"
#include "teaching/picture_projection.h"
#include "teaching/sample_volume.h"
#include "teaching/slice_comparison.h"
#include "teaching/slice_uniformity.h"
#include "teaching/tool_error.h"
#include "recon/backprojection.h"
#include "recon/final_image.h"
#include "recon/gap_filling.h"
#include "recon/projection_views.h"
#include "recon/reconstruction.h"
#include "recon/sinogram_file.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"
#include "support/file_bytes.h"
#include "support/test_folder.h"
#include "teaching/tool_run.h"

namespace data_tool_test {

// One folder a process: test runs of other trees on the same machine clear theirs.
static std::string Folder() {
    static std::string folder;
    if (folder.empty()) {
        folder = TestFolderPath("data_tool");
        std::filesystem::remove_all(folder);
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(Folder(), error);
        });
        std::filesystem::create_directories(folder + "/empty");
    }
    return folder;
}
static std::string In(const char *name) { return Folder() + "/" + name; }


static bool Exists(const std::string &path) { return std::filesystem::exists(path); }

// A saved picture: 1200 x 800, grey(P, Q) at the final image's place, a busy gallery
// of colours around it.
template <typename Grey>
static void WriteSaved(const std::string &path, Grey grey) {
    std::vector<uint32_t> pixels(PictureWidth * PictureHeight);
    for (int y = 0; y < PictureHeight; y++)
        for (int x = 0; x < PictureWidth; x++) pixels[y * PictureWidth + x] = (uint32_t)(x * 7 + y * 13) * 0x010203u & 0xFFFFFFu;
    for (int row = 0; row < 256; row++)
        for (int p = 0; p < 256; p++) {
            uint32_t g = grey(p, 255 - row) * 0x010101u;
            for (int k = 0; k < 4; k++) pixels[(FinalImageTop + 2 * row + k / 2) * PictureWidth + 2 * p + k % 2] = g;
        }
    WriteBytes(path, BmpBytes(PictureWidth, PictureHeight, 24, pixels));
}

// Levels of a width x height picture from level(column, row).
template <typename Level>
static std::vector<int> Levels(int width, int height, Level level) {
    std::vector<int> levels;
    for (int row = 0; row < height; row++)
        for (int column = 0; column < width; column++) levels.push_back(level(column, row));
    return levels;
}

struct Refusal { std::vector<std::string> words; int status; const char *line; };

TEST(DataTool, RefusesEachBadArgumentOrFileInOneLineAndLeavesNothingBehind) {
    WriteBytes(In("small.pgm"), PgmBytes(true, 9, 7, 255, Levels(9, 7, [](int c, int r) { return c * 20 + r; })));
    WriteBytes(In("black.pgm"), PgmBytes(true, 9, 7, 255, std::vector<int>(63, 0)));
    WriteBytes(In("big.pgm"), "P5 300 10 255\n");
    WriteBytes(In("small.bmp"), BmpBytes(5, 3, 24, std::vector<uint32_t>(15, 0x404040)));
    WriteSaved(In("black.bmp"), [](int, int) { return 0; });
    WriteSaved(In("busy.bmp"), [](int p, int q) { return p == 100 && q == 7 ? 0x12 : 0x40; });
    std::vector<uint32_t> halfBlock(PictureWidth * PictureHeight, 0x404040);
    halfBlock[(FinalImageTop + 2 * 9) * PictureWidth + 2 * 30 + 1] = 0x414141;   // one pixel of a 2 x 2 block differs
    WriteBytes(In("unblocked.bmp"), BmpBytes(PictureWidth, PictureHeight, 24, halfBlock));
    const std::string out = In("out.file"), pgm = In("small.pgm");
    // Volumes of zeros but for -1 in the first bin of row 0, or 1 in the middle of row 43.
    std::string zeros(SinogramFileBytes, '\0'), negative = zeros, one = zeros;
    memcpy(&negative[SinogramHeaderBytes + 86 * SinogramSliceBytes], "\x00\x00\x80\xbf", 4);
    memcpy(&one[SinogramHeaderBytes + 43 * SinogramSliceBytes + 4 * 128], "\x00\x00\x80\x3f", 4);
    WriteBytes(In("empty.sino"), zeros);
    WriteBytes(In("negative.sino"), negative);
    WriteBytes(In("one.sino"), one);
    const Refusal refusals[] = {
        {{}, 2, "no command given"},
        {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
        {{"sinogram"}, 2, "sinogram takes one word besides its options"},
        {{"sinogram", out, "extra", "--phantom", "head"}, 2, "takes one word besides its options"},
        {{"sinogram", out}, 2, "needs one source"},
        {{"sinogram", out, "--phantom", "head", "--picture", pgm}, 2, "needs one source"},
        {{"sinogram", out, "--phantom", "brain"}, 2, "--phantom brain: choose one of head, rods"},
        {{"sinogram", out, "--phantom", "head", "--scale", "2"}, 2, "the scale is at most 1.63"},
        {{"sinogram", out, "--phantom", "rods", "--scale=0.01"}, 2, "--scale 0.01: give a number from 0.05"},
        {{"sinogram", out, "--picture", pgm, "--scale", "1"}, 2, "--scale sizes a phantom"},
        {{"sinogram", out, "--picture", pgm, "--counts", "0"}, 2, "--counts 0: give a number from 0.001 to 1e+07"},
        {{"sinogram", out, "--picture", pgm, "--counts", "1e3x"}, 2, "--counts 1e3x"},
        {{"sinogram", out, "--picture", pgm, "--counts", "nan"}, 2, "--counts nan"},
        {{"sinogram", out, "--picture", pgm, "--counts"}, 2, "--counts needs a value"},
        {{"sinogram", out, "--picture", pgm, "--noise", "gauss"}, 2, "--noise gauss: choose one of poisson, none"},
        {{"sinogram", out, "--picture", pgm, "--noise", "none", "--seed", "3"}, 2, "--seed sets the noise"},
        {{"sinogram", out, "--picture", pgm, "--scatter", "1"}, 2, "--scatter 1: give a fraction from 0 up to, not including, 1"},
        {{"sinogram", out, "--picture", pgm, "--randoms", "-0.1"}, 2, "--randoms -0.1: give a number from 0 to 1"},
        {{"sinogram", out, "--picture", pgm, "--normalisation", "0.3"}, 2, "--normalisation 0.3: give a number from 0 to 0.2"},
        {{"sinogram", out, "--picture", pgm, "--scatter", "0.3", "--corrected", "scatter,glare"}, 2, "--corrected scatter,glare: name effects among"},
        {{"sinogram", out, "--picture", pgm, "--scatter", "0.3", "--corrected", "scatter,scatter"}, 2, "scatter is named twice"},
        {{"sinogram", out, "--picture", pgm, "--scatter", "0.3", "--corrected", "randoms"}, 2, "--corrected randoms: the volume holds no randoms; add --randoms F"},
        {{"sinogram", out, "--picture", pgm, "--corrected", "attenuation"}, 2, "holds no attenuation; add --attenuation"},
        {{"sinogram", out, "--picture", pgm, "--attenuation-corrected", "--corrected", "attenuation"}, 2, "--corrected and --attenuation-corrected both correct"},
        {{"sinogram", out, "--picture", pgm, "--scatter", "0.3", "--scatter-estimate", "2"}, 2, "add --corrected scatter"},
        {{"sinogram", out, "--picture", pgm, "--attenuation", "--map-right", "3"}, 2, "--map-right gives the correction's map; add --corrected attenuation"},
        {{"sinogram", out, "--picture", pgm, "--attenuation", "--corrected", "attenuation", "--map-up", "80"}, 2, "--map-up 80: give a number from -50 to 50"},
        {{"sinogram", out, "--picture", pgm, "--attenuation", "--corrected", "attenuation", "--correction-mu-map", In("small.bmp")}, 1, "the correction's map must be the picture's size, 9 x 7"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--model", "scatter"}, 2, "--model scatter: the model of a volume with no scatter; add --scatter F"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--model", "randoms", "--randoms", "0.2"}, 2, "give --phantom or --picture"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--model", "attenuation"}, 2, "add --attenuation and the map"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--counts", "300"}, 2, "--counts is the volume's dose"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--seed", "3"}, 2, "--seed draws the efficiencies; add --normalisation"},
        {{"sinogram", out, "--picture", pgm, "--seed", "-1"}, 2, "--seed -1: give a whole number"},
        {{"sinogram", out, "--picture", pgm, "--dose", "3"}, 2, "sinogram takes no option --dose"},
        {{"sinogram", out, "--picture", In("big.pgm")}, 1, "is 300 x 10 pixels; a slice holds at most 256 x 256"},
        {{"sinogram", out, "--picture", In("none.pgm")}, 1, "cannot open"},
        {{"sinogram", out, "--picture", In("black.pgm")}, 1, "the pictures are black"},
        {{"sinogram", out, "--folder", In("empty")}, 1, "holds no .pgm or .bmp pictures"},
        {{"sinogram", out, "--folder", pgm}, 1, "is not a folder"},
        {{"sinogram", In("no/such/folder.sino"), "--picture", pgm}, 1, "cannot write"},
        {{"sinogram", In("empty"), "--picture", pgm}, 1, "is a folder; give a file name"},
        {{"filter", out}, 2, "filter takes two words besides its options"},
        {{"filter", out, "gauss"}, 2, "unknown filter \"gauss\""},
        {{"filter", out, "ramp", "--cutoff", "0"}, 2, "--cutoff 0: give a number from 0.05 to 1"},
        {{"filter", out, "hann", "--cutoff", "1.5"}, 2, "--cutoff 1.5"},
        {{"filter", out, "delta", "--cutoff", "0.5"}, 2, "takes no --cutoff"},
        {{"filter", out, "hann", "--order", "3"}, 2, "--order belongs to the butterworth filter only"},
        {{"filter", out, "butterworth", "--order", "0"}, 2, "--order 0: give a whole number from 1 to 20"},
        {{"filter", out, "ramp", "--taps", "129"}, 2, "--taps 129: give a whole number from 1 to 128"},
        {{"filter", out, "ramp", "--taps", "12.5"}, 2, "--taps 12.5"},
        {{"compare"}, 2, "compare takes one word besides its options"},
        {{"compare", out}, 2, "needs one truth"},
        {{"compare", out, "--picture", pgm, "--row", "3"}, 2, "--scale and --row choose a phantom's slice"},
        {{"compare", out, "--phantom", "head", "--row", "87"}, 2, "--row 87: give a whole number from 0 to 86"},
        {{"compare", out, "--phantom", "head", "--region", "1,2"}, 2, "--region 1,2: give COLUMN,ROW,RADIUS"},
        {{"compare", out, "--phantom", "head", "--flat", "1,2,0"}, 2, "--flat 1,2,0"},
        {{"compare", out, "--phantom", "head", "--csv=yes"}, 2, "--csv takes no value"},
        {{"compare", In("small.bmp"), "--phantom", "head"}, 1, "is 5 x 3 pixels; a picture saved with \" Save Graphic File\" is 1200 x 800"},
        {{"compare", In("black.bmp"), "--phantom", "head"}, 1, "the final image at x 0..511, y 140..651 is black"},
        {{"compare", In("unblocked.bmp"), "--phantom", "head"}, 1, "shows no final image at x 0..511, y 140..651 (pixel 60, 158"},
        {{"compare", In("busy.bmp"), "--picture", In("none.pgm")}, 1, "cannot open"},
        {{"sinogram", out, "--picture", pgm, "--pixel-mm", "2"}, 2, "--pixel-mm describes the attenuation; add --attenuation"},
        {{"sinogram", out, "--phantom", "head", "--attenuation", "--mu-map", pgm}, 2, "--mu-map goes with --picture"},
        {{"sinogram", out, "--picture", pgm, "--attenuation", "--pixel-mm", "9"}, 2, "--pixel-mm 9: give a number from 0.05 to 5"},
        {{"sinogram", out, "--picture", pgm, "--attenuation", "--mu-map", In("small.bmp")}, 1, "the map must be the picture's size, 9 x 7"},
        {{"mlem", In("head.sino")}, 2, "mlem takes two words besides its options"},
        {{"mlem", In("head.sino"), out}, 2, "mlem needs --row N"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--subsets", "3"}, 2, "--subsets 3: give 1, 2, 4, 8, 16 or 32"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--iterations", "0"}, 2, "--iterations 0: give a whole number from 1"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--phantom", "head"}, 2, "--phantom gives the attenuation map; add --attenuation"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--attenuation"}, 2, "--attenuation needs one map"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--attenuation", "--phantom", "head", "--mu-map", pgm}, 2, "--mu-map goes with --picture or alone"},
        {{"mlem", In("none.sino"), out, "--row", "43"}, 1, "cannot open"},
        {{"mlem", pgm, out, "--row", "43"}, 1, "bytes; a sinogram volume is 11403288"},
        {{"mlem", In("empty.sino"), out, "--row", "43"}, 1, "row 43 holds no counts"},
        {{"mlem", In("negative.sino"), out, "--row", "0"}, 1, "row 0, angle 0, bin 0 holds -1; MLEM needs counts of 0 or more"},
        {{"mlem", In("one.sino"), In("empty"), "--row", "43", "--iterations", "1"}, 1, "is a folder; give a file name"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--post-filter", "-1"}, 2, "--post-filter -1: give a number from 0 to 64"},
        {{"mlem", In("head.sino"), out, "--row", "43", "--steps", In("steps"), "--subsets", "4"}, 2, "--steps shows MLEM's updates: give --subsets 1"},
        {{"mlem", In("one.sino"), out, "--row", "43", "--steps", pgm}, 1, "cannot make that folder, or it is a file"},
        {{"mlem", In("one.sino"), out, "--row", "43", "--steps", In("no/such/steps")}, 1, "cannot make that folder"},
        {{"tradeoff"}, 2, "tradeoff takes one word besides its options"},
        {{"tradeoff", In("trade")}, 2, "tradeoff needs one truth"},
        {{"tradeoff", In("trade"), "--picture", pgm}, 2, "with --picture, give the regions to measure"},
        {{"tradeoff", In("trade"), "--phantom", "head", "--subsets", "4,3"}, 2, "--subsets 4,3: give up to 3 of 2, 4, 8"},
        {{"tradeoff", In("trade"), "--phantom", "head", "--subsets", "2,4,8,16"}, 2, "--subsets 2,4,8,16: give up to 3"},
        {{"tradeoff", In("trade"), "--phantom", "head", "--realisations", "1"}, 2, "--realisations 1: give a whole number from 2"},
        {{"tradeoff", In("trade"), "--phantom", "head", "--picture", pgm}, 2, "tradeoff needs one truth"},
        {{"tradeoff", pgm, "--phantom", "head"}, 1, "cannot make that folder, or it is a file"},
        {{"tradeoff", In("trade"), "--phantom", "head", "--lang", "fr"}, 2, "--lang fr: choose one of en, ja"},
        {{"tradeoff", In("trade"), "--phantom", "head", "--workers", "0"}, 2, "--workers 0: give a whole number from 1 to 4"},
        {{"tradeoff", In("trade"), "--phantom", "head", "--workers", "5"}, 2, "--workers 5: give a whole number from 1 to 4"},
    };
    for (const Refusal &r : refusals) {
        std::string typed;
        for (const std::string &w : r.words) typed += w + " ";
        EXPECT_EQ(RunTool(r.words), r.status) << typed;
        EXPECT_NE(strstr(ToolError, r.line), nullptr) << typed << "\n  said: " << ToolError;
        EXPECT_EQ(strchr(ToolError, '\n'), nullptr) << typed;
        EXPECT_FALSE(Exists(out) || Exists(out + ".part")) << typed;
    }
    EXPECT_FALSE(Exists(In("no/such/folder.sino.part")));
    // The good form of a refused line works.
    EXPECT_EQ(RunTool({"compare", In("busy.bmp"), "--phantom", "head", "--region", "128,128,5"}), 0) << ToolError;
    EXPECT_EQ(RegionCount, 1);
}

// A command is its row: the tool's help lists the rows in order, and each name is found,
// answers --help with its own help and is named in the refusal of an unknown command.
TEST(DataTool, EveryCommandIsListedAndRunAsItsRowSays) {
    const std::string tool = ToolHelp();
    size_t listed = 0;
    EXPECT_EQ(RunTool({"frobnicate"}), 2);
    const std::string refusal = ToolError;
    std::vector<std::string> names;
    for (const DataCommand &row : DataCommands) {
        EXPECT_EQ(std::find(names.begin(), names.end(), row.name), names.end()) << row.name << ": a name used twice";
        names.push_back(row.name);
        const std::string synopsis = row.synopsis;
        EXPECT_EQ(synopsis.rfind(std::string("  quorvel_data ") + row.name + " ", 0), 0u) << synopsis;
        size_t at = tool.find(synopsis);
        EXPECT_TRUE(at != std::string::npos && at >= listed) << row.name << ": not listed in the table's order";
        if (at != std::string::npos) listed = at;
        EXPECT_NE(refusal.find(row.name), std::string::npos) << refusal;
        EXPECT_EQ(RunTool({row.name, "--help"}), 0) << row.name;
        EXPECT_EQ(RunTool({row.name, "-h"}), 0) << row.name;
        EXPECT_EQ(std::string(*row.help).rfind(std::string("quorvel_data ") + row.name + " ", 0), 0u) << row.name << ": another command's help";
    }
}

TEST(DataTool, FilterFilesAtFullCutoffAreTheSampleFiles) {
    for (int kind = 0; kind < FilterKindCount; kind++) {
        if (!FilterKindTable[kind].fileName) continue;
        std::string made = In("made.txt"), sample = In("sample.txt");
        ASSERT_EQ(RunTool({"filter", made, FilterKindTable[kind].name}), 0) << ToolError;
        double taps[FilterTapCount];
        MakeFilterTaps(kind, taps);
        WriteFilterFile(sample.c_str(), taps);
        EXPECT_EQ(std::filesystem::file_size(made), std::filesystem::file_size(sample)) << FilterKindTable[kind].name;
        EXPECT_EQ(FileBytes(made), FileBytes(sample)) << FilterKindTable[kind].name;
    }
    // A kept tap count leaves the rest 0; an existing file is replaced whole.
    ASSERT_EQ(RunTool({"filter", In("made.txt"), "butterworth", "--cutoff", "0.5", "--taps", "3"}), 0) << ToolError;
    FILE *file = fopen(In("made.txt").c_str(), "r");
    double value, sum = 0;
    int count = 0;
    while (fscanf(file, "%lf", &value) == 1) {
        if (count == 0) {
            EXPECT_EQ(value, 10.0);
        }
        if (count >= 3) sum += fabs(value);
        count++;
    }
    fclose(file);
    EXPECT_EQ(count, FilterTapCount);
    EXPECT_EQ(sum, 0.0);
}

// The truth picture of the known-answer cases: background 81 in a 61 x 45 rectangle, a
// hot disc of 255 (radius 6 at column 20, row 14) and a cold disc of 0 (radius 5 at 42, 30).
static int KnownLevel(int column, int row) {
    if (hypot(column - 20, row - 14) <= 6.0) return 255;
    if (hypot(column - 42, row - 30) <= 5.0) return 0;
    return 81;
}

TEST(DataTool, CompareGivesTheKnownFiguresOfKnownPictures) {
    WriteBytes(In("known.pgm"), PgmBytes(false, 61, 45, 255, Levels(61, 45, KnownLevel)));
    const int left = 97, top = 105;   // (256 - 61) / 2, (256 - 45) / 2
    // Shown greys: share 0.3 + 0.7 g / 255 of the peak. 81 / 255 of the peak shows as
    // g = 6 (6.43 cut), 255 as white, 0 as black.
    // Cupped: the background shows grey 3 more than 8 pixels from the rectangle's edge.
    auto shown = [&](int hotGrey, int checker, int cupped = 0) {
        return [=](int p, int q) {
            int column = p - left, row = 255 - q - top;
            if (column < 0 || column >= 61 || row < 0 || row >= 45) return 0;
            int level = KnownLevel(column, row);
            if (level == 255) return hotGrey;
            if (level == 0) return 0;
            if (cupped && std::min(std::min(column, 60 - column), std::min(row, 44 - row)) > 8) return 3;
            return 6 + (checker && column >= 40 && row < 16 ? ((column + row) % 2 ? 2 : -2) : 0);
        };
    };
    const double background = BackgroundShare + (1 - BackgroundShare) * 6 / 255;   // share of the background as shown
    const double trueContrast = 255.0 / 81.0 - 1.0;

    // The ideal picture: correlation 1 and no error; the hot disc's contrast is recovered
    // but for the background's cut grey; the cold disc shows only what the 30 % floor leaves.
    WriteSaved(In("ideal.bmp"), shown(255, 0));
    ASSERT_EQ(RunTool({"compare", In("ideal.bmp"), "--picture", In("known.pgm"), "--region", "20,14,6", "--region",
                   "42,30,5", "--flat", "50,8,5"}),
              0)
        << ToolError;
    EXPECT_NEAR(SliceCorrelation, 1.0, 1e-12);
    EXPECT_NEAR(SliceRmsError, 0.0, 1e-12);
    EXPECT_NEAR(RegionRecovery[0], (1.0 / background - 1.0) / trueContrast, 1e-6);
    EXPECT_NEAR(RegionRecovery[1], 1.0 - BackgroundShare / background, 1e-6);
    EXPECT_NEAR(FlatNoise, 0.0, 1e-12);
    EXPECT_NEAR(SliceUniformity, 1.0, 1e-12);

    // The middle of the background darker than the band along its edge, 2 to 6 pixels in.
    WriteSaved(In("cupped.bmp"), shown(255, 0, 1));
    ASSERT_EQ(RunTool({"compare", In("cupped.bmp"), "--picture", In("known.pgm"), "--flat", "30,22,4"}), 0) << ToolError;
    EXPECT_NEAR(SliceUniformity, (BackgroundShare + (1 - BackgroundShare) * 3 / 255) / background, 1e-12);

    // Half the hot contrast, and grey 4 and 8 alternating in the flat disc: a standard
    // deviation of 0.7 x 2 / 255 of the peak over a mean of the background's share.
    WriteSaved(In("half.bmp"), shown(130, 1));
    ASSERT_EQ(RunTool({"compare", In("half.bmp"), "--picture", In("known.pgm"), "--region", "20,14,6", "--flat", "50,8,5",
                   "--csv"}),
              0)
        << ToolError;
    EXPECT_NEAR(RegionRecovery[0], 0.5, 0.002);
    EXPECT_NEAR(FlatNoise, 0.7 * 2 / 255 / background, 0.0004);
    EXPECT_LT(SliceCorrelation, 1.0);
    EXPECT_GT(SliceRmsError, 0.1);

    // Without --flat the tool finds a disc of one true level: here the background.
    ASSERT_EQ(RunTool({"compare", In("ideal.bmp"), "--picture", In("known.pgm")}), 0) << ToolError;
    ASSERT_EQ(FlatKnown, 1);
    EXPECT_EQ(KnownLevel((int)FlatDisc[0] - left, (int)FlatDisc[1] - top), 81);
    EXPECT_EQ(RegionCount, 0);
}

// The saved picture of the fake picture the program drew into.
static void SaveFakePicture(const std::string &path) {
    std::vector<uint32_t> pixels(PictureWidth * PictureHeight);
    for (int y = 0; y < PictureHeight; y++)
        for (int x = 0; x < PictureWidth; x++) {
            uint32_t bgr = FakePixel(x, y);
            pixels[y * PictureWidth + x] = (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
        }
    WriteBytes(path, BmpBytes(PictureWidth, PictureHeight, 24, pixels));
}

// A slice whose peak, 10, loses a whole 3 to the program's background, so the program's
// final image and the tool's show the same greys: pixel for pixel, the same picture.
// The means of a disc or ring take exactly the pixels whose centres lie within it: the
// pixels at the edge, centres on and off pixel centres, off the slice, and bounds that are
// no number or none at all.
TEST(DataTool, RingMeansTakeEveryPixelOfTheRingAndNoOther) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            TruthSlice[p][q] = (float)(p * ImageSide + q + 1);
            ShownGrey[p][q] = (float)((p * 7 + q * 3) % 256);
        }
    const struct { double column, row, inner, outer; } rings[] = {
        {40, 60, -1, 5},   {40, 60, 3, 5},      {127.5, 127.5, -1, 12}, {0.25, 254.75, 2, 9.5},
        {300, 300, -1, 50}, {-3, 100, -1, 3.5}, {200, 10, -1, 0},       {90, 90, -1, NAN},
        {90, 90, -1, -4},  {90, 90, 250, 1e300}, {255, 0, -1, 1},       {17, 200, 6, 6}};
    for (const auto &ring : rings) {
        double shown = 0, truth = 0, n = 0;
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) {
                double dx = p - ring.column, dy = (ImageSide - 1 - q) - ring.row, d2 = dx * dx + dy * dy;
                if (fabs(dx) <= ring.outer && d2 <= ring.outer * ring.outer &&
                    (ring.inner < 0 || d2 >= ring.inner * ring.inner)) {
                    shown += PeakShare(ShownGrey[p][q]);
                    truth += TruthSlice[p][q];
                    n++;
                }
            }
        double gotShown, gotTruth;
        RingMeans(ring.column, ring.row, ring.inner, ring.outer, &gotShown, &gotTruth);
        std::string at = "ring at " + std::to_string(ring.column) + ", " + std::to_string(ring.row) + " from " +
                         std::to_string(ring.inner) + " to " + std::to_string(ring.outer);
        if (n == 0) {
            EXPECT_TRUE(gotShown != gotShown && gotTruth != gotTruth) << at;
        } else {
            EXPECT_EQ(gotShown, shown / n) << at;
            EXPECT_EQ(gotTruth, truth / n) << at;
        }
    }
}

TEST(DataTool, TheToolShowsASliceAsTheProgramShowsItsFinalImage) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            float value = (float)((p * 7 + q * 3) % 101) / 10.0f - (p < 40 ? 2.0f : 0.0f);   // -2 to 10, asymmetric
            ReconImage[p][q] = value;
            ShownSlice[p][q] = value;
        }
    ResetFakePicture();
    FindReconMax();
    SubtractBackground();
    FindDisplayMax();
    ShowReconstruction();
    ASSERT_EQ(BackgroundLevel, 3);
    ASSERT_EQ(WriteFinalPicture(In("shown.bmp").c_str()), 1);
    ASSERT_EQ(ReadPicture(In("shown.bmp").c_str(), PictureWidth, PictureHeight, "a saved picture"), 1) << ToolError;
    ASSERT_EQ(PictureColumns, PictureWidth);
    ASSERT_EQ(PictureRows, PictureHeight);
    int differing = 0, outsideLit = 0;
    for (int y = 0; y < PictureHeight; y++)
        for (int x = 0; x < PictureWidth; x++) {
            int inside = x < FinalImageScale * ImageSide && y >= FinalImageTop && y < FinalImageTop + FinalImageScale * ImageSide;
            if (inside) differing += PictureLevel[y][x] != (float)(FakePixel(x, y) & 0xFF);
            else outsideLit += PictureLevel[y][x] != 0.0f;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(outsideLit, 0);
}

// An asymmetric picture of round shapes (corners would ring): a grey ellipse, a white
// disc at its top left, a smaller one low at its left, a dark hole low at its right.
static int AsymmetricLevel(int column, int row) {
    double u = (column - 60) / 55.0, v = (row - 43) / 38.0;
    if (u * u + v * v > 1.0) return 0;
    if (hypot(column - 35, row - 25) < 12) return 250;
    if (hypot(column - 30, row - 62) < 6) return 250;
    if (hypot(column - 88, row - 58) < 9) return 10;
    return 120;
}

TEST(DataTool, APictureComesBackThroughTheProgramsReconstruction) {
    WriteBytes(In("picture.pgm"), PgmBytes(true, 121, 87, 255, Levels(121, 87, AsymmetricLevel)));
    WriteBytes(In("mirrored.pgm"), PgmBytes(true, 121, 87, 255,
                                            Levels(121, 87, [](int c, int r) { return AsymmetricLevel(120 - c, r); })));
    ASSERT_EQ(RunTool({"sinogram", In("picture.sino"), "--picture", In("picture.pgm"), "--counts", "1000", "--noise", "none"}),
              0)
        << ToolError;
    EXPECT_FALSE(Exists(In("picture.sino.part")));

    ResetFakePicture();
    ResetFakeConsole();
    ASSERT_EQ(LoadSinogramVolume(In("picture.sino").c_str()), 1);
    FindMaxCount();
    EXPECT_EQ(MaxCount, 1000.0f);
    ExtractSlice(43);
    MakeFilterTaps(FilterRamp, FilterTaps);
    ReconstructSlice('2');
    ShowReconstruction();
    SaveFakePicture(In("picture.bmp"));

    // MLEM's picture, shown as the program shows its own, comes closer still.
    ASSERT_EQ(RunTool({"mlem", In("picture.sino"), In("mlem.bmp"), "--row", "43"}), 0) << ToolError;
    double figures[2][2];
    for (int m = 0; m < 2; m++) {
        const char *method = m ? "mlem.bmp" : "picture.bmp";
        ASSERT_EQ(RunTool({"compare", In(method), "--picture", In("picture.pgm")}), 0) << ToolError;
        printf("the picture through sinogram and %s: correlation %.3f, RMS error %.3f\n", m ? "MLEM" : "the ramp filter",
               SliceCorrelation, SliceRmsError);
        figures[m][0] = SliceCorrelation;
        figures[m][1] = SliceRmsError;
        ASSERT_EQ(RunTool({"compare", In(method), "--picture", In("mirrored.pgm")}), 0) << ToolError;
        EXPECT_LT(SliceCorrelation, 0.5) << method << ": the slice must come back unmirrored";
    }
    EXPECT_GT(figures[0][0], 0.9);
    EXPECT_LT(figures[0][1], 0.35);
    EXPECT_GT(figures[1][0], figures[0][0]);
    EXPECT_LT(figures[1][1], figures[0][1]);
}

// The step page names every picture it shows and each is written; showing the steps or
// smoothing afterwards leaves the iterations, so the unsmoothed picture, as they were.
TEST(DataTool, TheStepPageShowsEveryPictureAndChangesNotTheIterations) {
    const std::string volume = In("steps.sino");
    ASSERT_EQ(RunTool({"sinogram", volume, "--phantom", "head", "--counts", "100"}), 0) << ToolError;
    ASSERT_EQ(RunTool({"mlem", volume, In("plain.bmp"), "--row", "43", "--iterations", "3"}), 0) << ToolError;
    ASSERT_EQ(RunTool({"mlem", volume, In("stepped.bmp"), "--row", "43", "--iterations", "3", "--steps", In("steps")}), 0)
        << ToolError;
    ASSERT_EQ(RunTool({"mlem", volume, In("smooth.bmp"), "--row", "43", "--iterations", "3", "--post-filter", "4"}), 0)
        << ToolError;
    EXPECT_EQ(FileBytes(In("plain.bmp")), FileBytes(In("stepped.bmp")));
    EXPECT_NE(FileBytes(In("plain.bmp")), FileBytes(In("smooth.bmp")));
    std::string text = FileBytes(In("steps/index.html"));
    EXPECT_NE(text.find("<svg"), std::string::npos);
    int pictures = 0;
    for (const auto &entry : std::filesystem::directory_iterator(In("steps"))) {
        std::string name = entry.path().filename().string();
        if (name == "index.html") continue;
        pictures++;
        EXPECT_NE(text.find("src=\"" + name + "\""), std::string::npos) << name;
        EXPECT_GT(entry.file_size(), 54u) << name;
    }
    EXPECT_EQ(pictures, 3 * 7) << "iterations 1, 2 and the last, 3, each in seven pictures";
}

// The trade-off's table has its named columns, a row for every method and recorded
// iteration and for each sample filter, and numbers in every figure; its page shows
// every map it wrote and numbers the curves at the first and last iterations, not all.
TEST(DataTool, TheTradeoffTableHasARowForEachMethodAndIteration) {
    const int sampleFilters = 6;   // ramp, Shepp-Logan, cosine, Hamming, Hann and delta
    const struct { std::vector<std::string> words; int rows; const char *header, *unnumbered; } runs[] = {
        {{"tradeoff", In("trade1"), "--phantom", "head", "--realisations", "2", "--iterations", "3", "--subsets", "2"},
         3 * 3 + sampleFilters,
         "method,subsets,iterations,filter,post_filter,cr_hot_r9,cr_hot_r6,cr_hot_r4,cr_cold_r8,noise,bias", "2"},
        {{"tradeoff", In("trade2"), "--phantom", "head", "--realisations", "2", "--iterations", "2", "--subsets", "2,4",
          "--region", "99.5,97.5,9", "--flat", "128,150,8", "--lang", "ja"},
         4 * 2 + sampleFilters, "method,subsets,iterations,filter,post_filter,cr_region1,noise,bias", nullptr},
    };
    for (const auto &run : runs) {
        ASSERT_EQ(RunTool(run.words), 0) << ToolError;
        std::string csv = FileBytes(run.words[1] + "/tradeoff.csv"), page = FileBytes(run.words[1] + "/index.html");
        std::vector<std::string> lines;
        for (size_t at = 0, end; at < csv.size(); at = end + 1) {
            end = csv.find('\n', at);
            if (end == std::string::npos) end = csv.size();
            lines.push_back(csv.substr(at, end - at));
        }
        ASSERT_EQ((int)lines.size(), 1 + run.rows) << run.words[1];
        EXPECT_EQ(lines[0], run.header);
        for (size_t n = 1; n < lines.size(); n++) {
            EXPECT_EQ(lines[n].find("nan"), std::string::npos) << lines[n];
            EXPECT_EQ(std::count(lines[n].begin(), lines[n].end(), ','), std::count(lines[0].begin(), lines[0].end(), ','))
                << lines[n];
        }
        for (const char *map : {"mlem_noise.bmp", "mlem_bias.bmp", "mlem_smoothed_noise.bmp", "fbp_ramp_bias.bmp"}) {
            EXPECT_TRUE(Exists(run.words[1] + "/" + map)) << map;
            EXPECT_NE(page.find(std::string("src=\"") + map + "\""), std::string::npos) << map;
        }
        EXPECT_EQ(page.find("nan"), std::string::npos) << "no coordinate of the plot is lost";
        EXPECT_NE(page.find("font-size=\"10\">1</text>"), std::string::npos) << run.words[1];
        if (run.unnumbered) {
            EXPECT_EQ(page.find(std::string("font-size=\"10\">") + run.unnumbered + "</text>"), std::string::npos);
        }
    }
}

// The realisations rebuilt one at a time and two at once, with a last batch of one, give
// every file the same bytes.
TEST(DataTool, TheTradeoffWritesTheSameBytesWhateverTheWorkers) {
    std::map<std::string, std::string> first;
    for (std::string workers : {"1", "2"}) {
        std::string folder = In(("workers" + workers).c_str());
        ASSERT_EQ(RunTool({"tradeoff", folder, "--phantom", "head", "--realisations", "3", "--iterations", "2",
                           "--subsets", "2", "--workers", workers}), 0) << ToolError;
        std::map<std::string, std::string> files;
        for (const auto &entry : std::filesystem::directory_iterator(folder))
            files[entry.path().filename().string()] = FileBytes(entry.path().string());
        EXPECT_EQ(files.size(), 8u) << "the table, the page and six maps";
        if (first.empty()) first = files;
        for (const auto &[name, bytes] : first) EXPECT_TRUE(files[name] == bytes) << name << " with " << workers << " workers";
    }
}

// The page writer escapes text and keeps a plot's coordinates numbers whatever the data.
TEST(DataTool, ThePageWriterEscapesTextAndDrawsDegeneratePlots) {
    const double one[] = {3.0}, flat[] = {2.0, 2.0, 2.0}, gaps[] = {1.0, NAN, 4.0}, rising[] = {1.0, 2.0, 3.0};
    const struct { const char *what; const double *x, *y; int points; } plots[] = {
        {"one point", one, one, 1}, {"a flat line", rising, flat, 3}, {"a gap", rising, gaps, 3}, {"no point", one, one, 0}};
    for (const auto &plot : plots) {
        std::string path = In("page.html");
        FILE *file = fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        PageBegin(file, "en", "a <b> & \"c\"");
        PlotLine line = {"x < y", plot.x, plot.y, plot.points, 0, NULL};
        PagePlot(&line, 1, "x", "y", "caption");
        EXPECT_EQ(PageEnd(), 1);
        fclose(file);
        std::string page = FileBytes(path);
        EXPECT_NE(page.find("a &lt;b&gt; &amp; &quot;c&quot;"), std::string::npos) << plot.what;
        EXPECT_EQ(page.find("<b>"), std::string::npos) << plot.what;
        EXPECT_EQ(page.find("nan"), std::string::npos) << plot.what;
        EXPECT_EQ(page.find("inf"), std::string::npos) << plot.what;
    }
}

// Crowded plots: curves on top of one another, labelled at every point, and lone marked
// points among them. Every label lies within the plot's frame, so never on the legend,
// and no two cover each other (6 px a character: browsers draw 10 px digits 5.6 to 6.4).
TEST(DataTool, ThePlotsLabelsStayInTheFrameAndApartFromEachOther) {
    static double x[40], y[40];
    static char texts[40][8];
    static const char *names[40];
    for (int i = 0; i < 40; i++) {
        x[i] = i < 20 ? i : 0.2 * (i - 20), y[i] = i < 20 ? sqrt(x[i]) : 0.5;
        snprintf(texts[i], sizeof texts[i], i % 2 ? "%d" : "f%d", i);
        names[i] = texts[i];
    }
    const PlotLine lines[] = {{"one", x, y, 20, 0, names}, {"the same", x, y, 20, 0, names},
                              {"points", x + 20, y + 20, 20, 1, names + 20}};
    for (int count = 1; count <= 3; count++) {
        std::string path = In("labels.html");
        FILE *file = fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        PageBegin(file, "en", "labels");
        PagePlot(lines, count, "x", "y", "caption");
        EXPECT_EQ(PageEnd(), 1);
        fclose(file);
        std::string page = FileBytes(path);
        double left, top, width, height, lx, ly;
        ASSERT_EQ(sscanf(page.c_str() + page.find("<rect x="), "<rect x=\"%lf\" y=\"%lf\" width=\"%lf\" height=\"%lf\"", &left,
                         &top, &width, &height), 4);
        std::vector<std::array<double, 3>> boxes;   // left, right, baseline
        for (size_t at = page.find("<text x="); at != std::string::npos; at = page.find("<text x=", at + 1)) {
            int end = 0;
            if (sscanf(page.c_str() + at, "<text x=\"%lf\" y=\"%lf\" fill=\"%*[^\"]\" font-size=\"10\">%n", &lx, &ly, &end) == 2 && end)
                boxes.push_back({lx, lx + 6.0 * (page.find("</text>", at) - at - end), ly + 1.0});
        }
        EXPECT_GE(boxes.size(), 10u) << count << " lines";
        for (size_t i = 0; i < boxes.size(); i++) {
            const auto &a = boxes[i];
            EXPECT_TRUE(a[0] >= left && a[1] <= left + width && a[2] - 10.0 >= top && a[2] <= top + height) << a[0] << ", " << a[2];
            for (size_t j = 0; j < i; j++) {
                const auto &b = boxes[j];
                EXPECT_TRUE(a[1] <= b[0] || b[1] <= a[0] || a[2] - 10.0 >= b[2] || b[2] - 10.0 >= a[2])
                    << count << " lines: labels at " << a[0] << ", " << a[2] << " and " << b[0] << ", " << b[2];
            }
        }
    }
}

// Noise-free counts: the correction gives back the unattenuated volume, and MLEM with
// the factors in its model rebuilds the attenuated slice flat, where without them the
// middle sinks.
TEST(DataTool, AttenuationIsUndoneByTheCorrectionAndByMlemsModel) {
    WriteBytes(In("ellipse.pgm"), PgmBytes(true, 121, 87, 255, Levels(121, 87, AsymmetricLevel)));
    WriteBytes(In("bone.pgm"), PgmBytes(true, 121, 87, 255, Levels(121, 87, [](int c, int r) { return AsymmetricLevel(c, r) ? 170 : 0; })));
    const std::string picture = In("ellipse.pgm");
    const std::vector<std::string> maps[] = {{"--picture", picture}, {"--picture", picture, "--mu-map", In("bone.pgm")}};
    for (const std::vector<std::string> &map : maps) {
        static float plain[Angles][Bins];
        ASSERT_EQ(RunTool({"sinogram", In("plain.sino"), "--picture", picture, "--noise", "none"}), 0) << ToolError;
        memcpy(plain, SampleVolume[43], sizeof plain);
        std::vector<std::string> attenuated = {"sinogram", In("attenuated.sino"), "--noise", "none", "--attenuation"};
        attenuated.insert(attenuated.end(), map.begin(), map.end());
        ASSERT_EQ(RunTool(attenuated), 0) << ToolError;
        attenuated[1] = In("corrected.sino");
        attenuated[4] = "--attenuation-corrected";
        ASSERT_EQ(RunTool(attenuated), 0) << ToolError;
        double worst = 0.0;
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++) worst = fmax(worst, fabs(SampleVolume[43][a][r] - plain[a][r]));
        EXPECT_LT(worst, 1e-3) << map.size();

        double uniformity[2];
        for (int model = 0; model < 2; model++) {
            std::vector<std::string> mlem = {"mlem", In("attenuated.sino"), In("mlem.bmp"), "--row", "43", "--iterations", "10"};
            if (model) mlem.push_back("--attenuation"), mlem.insert(mlem.end(), map.begin(), map.end());
            ASSERT_EQ(RunTool(mlem), 0) << ToolError;
            ASSERT_EQ(RunTool({"compare", In("mlem.bmp"), "--picture", picture}), 0) << ToolError;
            uniformity[model] = SliceUniformity;
        }
        printf("uniformity of MLEM without and with the factors in its model: %.3f, %.3f\n", uniformity[0], uniformity[1]);
        EXPECT_LT(uniformity[0], 0.9) << map.size();
        EXPECT_NEAR(uniformity[1], 1.0, 0.03) << map.size();
    }
}

// The program's ramp-filter slice of row 43 of a volume, saved and compared with the
// truth picture: its uniformity and RMS error.
static void FbpFigures(const std::string &volume, const std::string &truth, double figures[2]) {
    ResetFakePicture();
    ResetFakeConsole();
    ASSERT_EQ(LoadSinogramVolume(volume.c_str()), 1);
    ExtractSlice(43);
    MakeFilterTaps(FilterRamp, FilterTaps);
    ReconstructSlice('2');
    ShowReconstruction();
    SaveFakePicture(In("fbp.bmp"));
    ASSERT_EQ(RunTool({"compare", In("fbp.bmp"), "--picture", truth}), 0) << ToolError;
    figures[0] = SliceUniformity;
    figures[1] = SliceRmsError;
}

// A uniform disc through every effect at once: uncorrected, FBP shows the haze, the
// floor and the efficiencies' streaks; corrected with the known terms it gives the plain
// disc's figures, and so does MLEM with the effects in its model.
TEST(DataTool, EveryEffectIsUndoneByTheCorrectionsAndByMlemsModel) {
    WriteBytes(In("disc.pgm"), PgmBytes(true, 161, 161, 255, Levels(161, 161, [](int c, int r) {
                   return hypot(c - 80, r - 80) <= 78 ? 200 : 0; })));
    const std::string disc = In("disc.pgm");
    const std::vector<std::string> effects = {"--attenuation", "--scatter", "0.3", "--randoms", "0.2",
                                              "--normalisation", "0.1", "--seed", "5"};
    struct { const char *what, *output; std::vector<std::string> extra; } volumes[] = {
        {"plain", "plain.sino", {}},
        {"with every effect", "every.sino", effects},
        {"only normalised", "normalised.sino", {"--normalisation", "0.1", "--seed", "5"}},
        {"corrected", "corrected.sino", effects},
    };
    volumes[3].extra.insert(volumes[3].extra.end(), {"--corrected", "attenuation,scatter,randoms,normalisation"});
    double figures[4][2];
    for (int v = 0; v < 4; v++) {
        std::vector<std::string> words = {"sinogram", In(volumes[v].output), "--picture", disc, "--noise", "none"};
        words.insert(words.end(), volumes[v].extra.begin(), volumes[v].extra.end());
        ASSERT_EQ(RunTool(words), 0) << ToolError;
        FbpFigures(In(volumes[v].output), disc, figures[v]);
        printf("disc %s: uniformity %.3f, RMS error %.3f\n", volumes[v].what, figures[v][0], figures[v][1]);
    }
    EXPECT_NEAR(figures[3][0], figures[0][0], 1e-3);
    EXPECT_NEAR(figures[3][1], figures[0][1], 1e-3);
    for (int v = 1; v < 3; v++) {
        EXPECT_GT(fabs(figures[v][0] - 1.0), fabs(figures[0][0] - 1.0) + 0.1) << volumes[v].what;
        EXPECT_GT(figures[v][1], figures[0][1] + 0.2) << volumes[v].what;
    }

    double mlem[2];
    for (int model = 0; model < 2; model++) {
        std::vector<std::string> words = {"mlem", In(model ? "every.sino" : "plain.sino"), In("mlem.bmp"), "--row", "43",
                                          "--iterations", "15"};
        if (model) {
            words.insert(words.end(), {"--picture", disc, "--counts", "1000"});
            words.insert(words.end(), effects.begin(), effects.end());
            words.insert(words.end(), {"--model", "scatter,randoms,normalisation"});
        }
        ASSERT_EQ(RunTool(words), 0) << ToolError;
        ASSERT_EQ(RunTool({"compare", In("mlem.bmp"), "--picture", disc}), 0) << ToolError;
        mlem[model] = SliceUniformity;
    }
    printf("disc through MLEM, plain and with every effect in data and model: uniformity %.3f, %.3f\n", mlem[0], mlem[1]);
    EXPECT_NEAR(mlem[1], mlem[0], 0.05);
}

TEST(DataTool, AFolderFillsTheMiddleRowsInNameOrder) {
    std::string folder = In("slices");
    std::filesystem::create_directories(folder);
    // White squares of sides 10, 20 and 30: slice totals grow as 1 : 4 : 9.
    const char *names[3] = {"a.pgm", "b.BMP", "c.pgm"};
    for (int i = 0; i < 3; i++) {
        int side = 10 * (i + 1);
        std::vector<int> levels(side * side, 255);
        if (i == 1) WriteBytes(folder + "/" + names[i], BmpBytes(side, side, 24, std::vector<uint32_t>(levels.size(), 0xFFFFFF)));
        else WriteBytes(folder + "/" + names[i], PgmBytes(true, side, side, 255, levels));
    }
    WriteBytes(folder + "/notes.txt", "not a picture");
    ASSERT_EQ(RunTool({"sinogram", In("folder.sino"), "--folder", folder, "--noise", "none"}), 0) << ToolError;
    double total[Slices] = {};
    for (int s = 0; s < Slices; s++)
        for (int r = 0; r < Bins; r++) total[s] += SampleVolume[s][0][r];
    // Rows 42, 43, 44 are file slices 44, 43, 42.
    EXPECT_NEAR(total[43] / total[44], 4.0, 1e-4);
    EXPECT_NEAR(total[42] / total[44], 9.0, 1e-4);
    for (int s = 0; s < Slices; s++)
        if (s < 42 || s > 44) {
            EXPECT_EQ(total[s], 0.0) << s;
        }
}

// Along the line, the level of the pixel each point lies in: the picture as squares.
static double SampledLineIntegral(double thetaDegrees, double t) {
    const double step = 1e-4;
    double c = cos(thetaDegrees * Pi / 180.0), s = sin(thetaDegrees * Pi / 180.0), sum = 0.0;
    for (double u = -10.0 + 0.5 * step; u < 10.0; u += step) {
        double x = t * c - u * s, y = t * s + u * c;
        double column = floor(x + 128.0) - PictureLeft(), row = floor(128.0 - y) - PictureTop();
        if (column >= 0 && column < PictureColumns && row >= 0 && row < PictureRows)
            sum += PictureLevel[(int)row][(int)column];
    }
    return sum * step / PictureWhite;
}

TEST(PictureProjection, BinsAreTheChordsThroughThePixelSquares) {
    // 7 x 5 of distinct levels, centred: columns 124..130, rows 125..129.
    PictureColumns = 7;
    PictureRows = 5;
    PictureWhite = 10.0;
    for (int row = 0; row < 5; row++)
        for (int column = 0; column < 7; column++) PictureLevel[row][column] = (float)((3 * column + 5 * row) % 11);
    const double angles[] = {0.0, 1.40625, 30.9375, 45.0, 90.0, 133.59375, 178.59375};
    const double offsets[] = {-4.6, -2.5, -0.5, 0.5, 1.3, 2.9};
    for (double theta : angles)
        for (double t : offsets)
            EXPECT_NEAR(PictureLineIntegral(theta, t), SampledLineIntegral(theta, t), 2e-3) << theta << " " << t;
    EXPECT_EQ(PictureLineIntegral(0.0, 3.6), 0.0);     // right of the picture
    EXPECT_EQ(PictureLineIntegral(90.0, -2.6), 0.0);   // below it
}

#ifndef _WIN32
// The tool as a program, as a shell starts it: its status, and what it wrote to standard
// output and to standard error; redirect replaces the redirection of standard output.
struct ProgramRun { int status; std::string out, err; };
static ProgramRun RunProgram(const std::vector<std::string> &words, const std::string &redirect = "") {
    std::string command = QUORVEL_DATA_PROGRAM;
    for (const std::string &w : words) command += " '" + w + "'";
    command += (redirect.empty() ? " >'" + In("stdout") + "'" : " " + redirect) + " 2>'" + In("stderr") + "'";
    int status = system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileBytes(In("stdout")), FileBytes(In("stderr"))};
}
#endif

static std::string Contents(const std::string &path) { return FileBytes(path); }

// What a hostile but fair user found, one row each: the status, a part of the one line
// shown (escaped as the program shows it), and what must hold of the files afterwards.
struct HostileCase {
    const char *what;
    std::vector<std::string> words;
    int status;
    const char *says;                 // in the printed message, or "" for a success
    std::function<bool()> holds;      // of files and figures afterwards, or empty
};

TEST(DataTool, HoldsUpAgainstHostileUse) {
    const std::string pgm = In("small.pgm"), out = In("hostile.txt"), sino = In("hostile.sino");
    WriteBytes(pgm, PgmBytes(true, 9, 7, 255, Levels(9, 7, [](int c, int r) { return c * 20 + r; })));
    WriteBytes(In("black.pgm"), PgmBytes(true, 9, 7, 255, std::vector<int>(63, 0)));
    WriteBytes(out + ".part", "keep");
    std::filesystem::create_directories(In("folder.txt.part"));
    WriteBytes(In("padded.pgm"), "P5 0009 00007 000000000255\n" + std::string(63, '\x40'));
    WriteBytes(In("escape.pgm"), "P2 2 1 255\n\x1b[31m 7\n");
    std::string bmp = BmpBytes(64, 3, 24, std::vector<uint32_t>(64 * 3, 0));
    bmp[22] = 0, bmp[23] = 0, bmp[24] = 0, bmp[25] = (char)0x80;   // a height of INT_MIN
    WriteBytes(In("tall.bmp"), bmp);
    const std::string longName = Folder() + "/" + std::string(251, 'n') + ".txt";   // 255 bytes
    const std::string deep = Folder() + "/" + std::string(200, 'd') + "/" + std::string(200, 'e') + "/" +
                             std::string(200, 'f') + "/missing.pgm";
    // The saved known picture, and the same greys as a 16-bit PGM.
    WriteBytes(In("known.pgm"), PgmBytes(false, 61, 45, 255, Levels(61, 45, KnownLevel)));
    WriteSaved(In("ideal.bmp"), [](int p, int q) { return (p * 3 + q) % 256; });
    std::vector<int> wide(PictureWidth * PictureHeight);
    for (int y = 0; y < PictureHeight; y++)
        for (int x = 0; x < PictureWidth; x++) wide[y * PictureWidth + x] = 0;
    for (int i = 0; i < 256; i++)
        for (int p = 0; p < 256; p++)
            for (int k = 0; k < 4; k++)
                wide[(FinalImageTop + 2 * i + k / 2) * PictureWidth + 2 * p + k % 2] = ((p * 3 + 255 - i) % 256) * 257;
    WriteBytes(In("ideal16.pgm"), PgmBytes(true, PictureWidth, PictureHeight, 65535, wide));
    double figures8[2] = {0, 0};
    RunTool({"compare", In("ideal.bmp"), "--picture", In("known.pgm")});
    figures8[0] = SliceCorrelation, figures8[1] = SliceRmsError;
    // A folder of one picture; volumes whose row 43 holds one +inf, one 3.4e38, or one count
    // on a line that meets no pixel of the round field (angle 0, bin 0).
    std::filesystem::create_directories(In("one_picture"));
    WriteBytes(In("one_picture/only.pgm"), PgmBytes(true, 40, 30, 255, std::vector<int>(1200, 200)));
    WriteBytes(In("white256.pgm"), PgmBytes(true, 256, 256, 255, std::vector<int>(256 * 256, 255)));
    std::string zeros(SinogramFileBytes, '\0'), infinite = zeros, huge = zeros, outside = zeros, centre = zeros;
    const long row43 = SinogramHeaderBytes + 43 * SinogramSliceBytes;
    memcpy(&infinite[row43 + 4 * 128], "\x00\x00\x80\x7f", 4);
    memcpy(&huge[row43 + 4 * 128], "\xff\xff\x7f\x7f", 4);
    memcpy(&outside[row43], "\x00\x00\x80\x3f", 4);
    memcpy(&centre[row43 + 4 * 128], "\x00\x00\x80\x3f", 4);
    std::string partly = centre;
    memcpy(&partly[row43], "\x00\x00\x80\x3f", 4);
    WriteBytes(In("partly.sino"), partly);
    WriteBytes(In("infinite.sino"), infinite);
    WriteBytes(In("huge.sino"), huge);
    WriteBytes(In("outside.sino"), outside);
    WriteBytes(In("centre.sino"), centre);
    // A saved picture whose final image holds one pure red 2 x 2 block.
    std::vector<uint32_t> reddened(PictureWidth * PictureHeight, 0x404040);
    for (int k = 0; k < 4; k++) reddened[(FinalImageTop + 2 * 9 + k / 2) * PictureWidth + 2 * 30 + k % 2] = 0xFF0000;
    WriteBytes(In("red.bmp"), BmpBytes(PictureWidth, PictureHeight, 24, reddened));
    std::vector<std::string> seventeen = {"compare", In("ideal.bmp"), "--picture", In("known.pgm"), "--flat", "20,14,8"};
    for (int i = 0; i < RegionsMax + 1; i++) seventeen.insert(seventeen.end(), {"--region", "30,20,3"});
    const std::string never = In("never.bmp");   // an output no refused run may leave
    auto finiteAndEmptyElsewhere = [] {
        for (int s = 0; s < Slices; s++)
            for (int a = 0; a < Angles; a++)
                for (int r = 0; r < Bins; r++)
                    if (!std::isfinite(SampleVolume[s][a][r]) || (s != 43 && SampleVolume[s][a][r] != 0.0f)) return false;
        return SmallestAttenuation() > 0.5f;
    };

    const HostileCase cases[] = {
        {"the largest dose in seconds", {"sinogram", sino, "--picture", pgm, "--counts", "1e7"}, 0, "",
         [&] { return std::filesystem::file_size(sino) == (uintmax_t)SinogramFileBytes; }},
        {"an OUTPUT.part file of the user's stays", {"filter", out, "ramp"}, 0, "",
         [&] { return Contents(out + ".part") == "keep" && Exists(out); }},
        {"an empty folder OUTPUT.part stays", {"filter", In("folder.txt"), "ramp"}, 0, "",
         [&] { return std::filesystem::is_directory(In("folder.txt.part")); }},
        {"a 255-byte output name", {"filter", longName, "hann"}, 0, "", [&] { return Exists(longName); }},
        {"a message is never cut", {"sinogram", sino, "--picture", deep}, 1, "missing.pgm", {}},
        {"a line break in a name stays one line", {"sinogram", sino, "--picture", In("two\nlines.pgm")}, 1,
         "two\\x0Alines.pgm", {}},
        {"escape bytes from a file are shown escaped", {"sinogram", sino, "--picture", In("escape.pgm")}, 1,
         "\"\\x1B[31m\" in row 1 is not a grey level", {}},
        {"a BMP height of INT_MIN", {"sinogram", sino, "--picture", In("tall.bmp")}, 1, "is 64 x 2147483648 pixels", {}},
        {"zero-padded PGM numbers", {"sinogram", sino, "--picture", In("padded.pgm"), "--noise", "none"}, 0, "", {}},
        {"a folder as the picture", {"sinogram", sino, "--picture", In("empty")}, 1, "is a folder; give a picture file",
         {}},
        {"a seed with a blank and a sign", {"sinogram", sino, "--picture", pgm, "--seed", " -1"}, 2,
         "--seed  -1: give a whole number", {}},
        {"a seed with a plus", {"sinogram", sino, "--picture", pgm, "--seed", "+5"}, 2, "--seed +5", {}},
        {"an option given twice", {"sinogram", sino, "--picture", pgm, "--counts", "abc", "--counts", "7"}, 2,
         "--counts is given twice", {}},
        {"the output is the input picture", {"sinogram", pgm, "--picture", pgm}, 2, "is a picture the volume is made from",
         [&] { return Contents(pgm).compare(0, 2, "P5") == 0; }},
        {"a 16-bit PGM saved picture", {"compare", In("ideal16.pgm"), "--picture", In("known.pgm")}, 0, "",
         [&] { return SliceCorrelation == figures8[0] && SliceRmsError == figures8[1]; }},
        {"no true activity around a region", {"compare", In("ideal.bmp"), "--picture", pgm, "--region", "4,3,30"}, 0, "",
         [&] { return RegionRecovery[0] != RegionRecovery[0] && strstr(RegionReason[0], "no true activity"); }},
        {"a region off the slice", {"compare", In("ideal.bmp"), "--picture", In("known.pgm"), "--region", "900,900,5"},
         0, "", [&] { return strstr(RegionReason[0], "outside the slice") != nullptr; }},
        {"a black truth", {"compare", In("ideal.bmp"), "--picture", In("black.pgm")}, 1, "no figure can be had",
         [&] { return strstr(CorrelationReason, "the truth is black") != nullptr; }},
        {"a row without activity", {"compare", In("ideal.bmp"), "--phantom", "head", "--row", "0"}, 1,
         "no figure can be had", [&] { return strstr(CorrelationReason, "no object on this slice") != nullptr; }},
        {"rows no picture fills are 0, corrected", {"sinogram", sino, "--folder", In("one_picture"), "--noise", "none",
         "--attenuation-corrected"}, 0, "", finiteAndEmptyElsewhere},
        {"... and the smallest factor is a picture's", {"sinogram", sino, "--folder", In("one_picture"), "--attenuation"},
         0, "", finiteAndEmptyElsewhere},
        {"more regions than are measured", seventeen, 2, "--region is given 17 times; at most 16", {}},
        {"an output in a missing folder before 1000 iterations",
         {"mlem", In("centre.sino"), In("no/such/out.bmp"), "--row", "43", "--iterations", "1000"}, 1, "cannot write", {}},
        {"an output without a name before 1000 iterations",
         {"mlem", In("centre.sino"), "", "--row", "43", "--iterations", "1000"}, 1, "the output file has no name", {}},
        {"a black map attenuates nothing",
         {"sinogram", sino, "--picture", pgm, "--attenuation", "--mu-map", In("black.pgm")}, 1,
         "black.pgm is black: the attenuation map holds no matter", {}},
        {"... in mlem's model too",
         {"mlem", In("centre.sino"), never, "--row", "43", "--attenuation", "--picture", In("black.pgm")}, 1,
         "black.pgm is black", [&] { return !Exists(never); }},
        {"an infinite count", {"mlem", In("infinite.sino"), never, "--row", "43"}, 1, "holds inf, which is no count", {}},
        {"a count too large", {"mlem", In("huge.sino"), never, "--row", "43"}, 1, "MLEM takes counts up to 3e+38", {}},
        {"counts only outside the field, before any iteration",
         {"mlem", In("outside.sino"), never, "--row", "43", "--iterations", "1000"}, 1,
         "row 43 has counts only on lines that miss the round field", [&] { return !Exists(never); }},
        {"a red block is a colour", {"compare", In("red.bmp"), "--phantom", "head"}, 1, "pixel 60, 158 is a colour, not grey",
         {}},
        {"a scale below the least names the range that fits", {"sinogram", sino, "--phantom", "head", "--scale", "0"}, 2,
         "--scale 0: give a number from 0.05 to 1.63", {}},
        {"subsets of no power of two", {"mlem", In("centre.sino"), never, "--row", "43", "--subsets", "33"}, 2,
         "--subsets 33: give 1, 2, 4, 8, 16 or 32", {}},
        {"one rule for numbers: no hexadecimal count", {"sinogram", sino, "--picture", pgm, "--counts", "0x10"}, 2,
         "--counts 0x10: give a number", {}},
        {"... no hexadecimal float", {"sinogram", sino, "--picture", pgm, "--attenuation", "--pixel-mm", "0x1p1"}, 2,
         "--pixel-mm 0x1p1", {}},
        {"... no blank in a disc", {"compare", In("ideal.bmp"), "--picture", pgm, "--region", " 10,10,5"}, 2,
         "--region  10,10,5: give COLUMN,ROW,RADIUS", {}},
        {"... no plus sign", {"filter", out, "ramp", "--cutoff", "+0.5"}, 2, "--cutoff +0.5", {}},
        {"... no exponent in a whole number", {"filter", out, "ramp", "--taps", "1e2"}, 2, "--taps 1e2", {}},
        {"... the exponent the messages print", {"sinogram", sino, "--picture", pgm, "--counts", "1e+03", "--noise", "none"},
         0, "", [&] { return LargestSample() == 1000.0f; }},
        {"... a point first", {"filter", out, "ramp", "--cutoff", ".5"}, 0, "", {}},
    };
    for (const HostileCase &c : cases) {
        EXPECT_EQ(RunTool(c.words), c.status) << c.what << ": " << ToolError;
        std::string shown = Printable(ToolError);
        EXPECT_NE(shown.find(c.says), std::string::npos) << c.what << "\n  said: " << shown;
        EXPECT_EQ(shown.find('\n'), std::string::npos) << c.what;
        if (c.holds) {
            EXPECT_TRUE(c.holds()) << c.what;
        }
    }
    // Seeds are decimal, leading zeros and all, or 0x hexadecimal.
    ASSERT_EQ(RunTool({"sinogram", In("s010.sino"), "--picture", pgm, "--seed", "010"}), 0) << ToolError;
    ASSERT_EQ(RunTool({"sinogram", In("s10.sino"), "--picture", pgm, "--seed", "0xa"}), 0) << ToolError;
    ASSERT_EQ(RunTool({"sinogram", In("s8.sino"), "--picture", pgm, "--seed", "8"}), 0) << ToolError;
    EXPECT_EQ(Contents(In("s010.sino")), Contents(In("s10.sino")));
    EXPECT_NE(Contents(In("s010.sino")), Contents(In("s8.sino")));
#ifndef _WIN32
    // Special files, a link in the temporary file's old place, and standard output lost.
    mkfifo(In("pipe.txt").c_str(), 0600);
    WriteBytes(In("victim"), "keep");
    symlink(In("victim").c_str(), (In("linked.txt") + ".part").c_str());
    // Final images: black within 3 pixels of the slice's centre, or but for 20 pixels around it.
    WriteSaved(In("core.bmp"), [](int p, int q) { return hypot(p - 128, 127 - q) <= 3 ? 0 : 100; });
    WriteSaved(In("island.bmp"), [](int p, int q) { return hypot(p - 128, 127 - q) <= 20 ? 100 : 0; });
    // A full slice of one level but for a hot disc at its left edge.
    WriteBytes(In("full.pgm"), PgmBytes(true, 256, 256, 255, Levels(256, 256, [](int c, int r) {
                   return hypot(c - 3, r - 128) <= 4 ? 250 : 100; })));
    const struct { const char *what; std::vector<std::string> words; std::string redirect; int status; const char *says; }
        runs[] = {
            {"a device as the output is written directly", {"filter", "/dev/null", "ramp"}, "", 0, ""},
            {"a pipe as the output", {"filter", In("pipe.txt"), "ramp"}, "", 1, "is not a file but a pipe"},
            {"a link named OUTPUT.part", {"filter", In("linked.txt"), "ramp"}, "", 0, ""},
            {"standard output on a full disk", {"filter", out, "ramp"}, ">/dev/full", 1, "cannot write the results"},
            {"standard output closed", {"filter", out, "ramp"}, ">&-", 1, "standard output is closed"},
            {"regions echoed as typed", {"compare", In("ideal.bmp"), "--picture", pgm, "--region", "4,3,2"}, "", 0,
             "region1: column 4, row 3, radius 2"},
            {"Butterworth's words match its formula", {"filter", "--help"}, "", 0, "a quarter of the power"},
            {"the deepest line's share as measured", {"sinogram", sino, "--folder", In("one_picture"), "--attenuation"}, "",
             0, "the deepest line keeps 54.2 % of its counts"},
            {"a share far below 0.1 % in figures", {"sinogram", sino, "--picture", In("white256.pgm"), "--attenuation",
             "--mu-map", In("white256.pgm"), "--pixel-mm", "5"}, "", 0, "keeps 1.02e-18 %"},
            {"a black flat region has no noise", {"compare", In("core.bmp"), "--picture", In("known.pgm"), "--flat", "31,23,2"},
             "", 0, "background noise: -, the flat region shows black"},
            {"... black in it makes the noise a lower bound", {"compare", In("core.bmp"), "--picture", In("known.pgm"),
             "--flat", "31,23,8"}, "", 0, "background noise       >="},
            {"... and the uniformity an upper one", {"compare", In("core.bmp"), "--picture", In("known.pgm"), "--flat",
             "31,23,8"}, "", 0, "uniformity: a bound (at most)"},
            {"a black edge band makes it a lower one", {"compare", In("island.bmp"), "--picture", In("known.pgm"), "--flat",
             "31,23,5", "--csv"}, "", 0, ",>=1."},
            {"a region partly off the slice is told", {"compare", In("ideal.bmp"), "--picture", In("full.pgm"), "--region",
             "3,128,4"}, "", 0, "note: region1 reaches past the slice's edge"},
            {"a flat region across two true levels is told", {"compare", In("ideal.bmp"), "--picture", In("known.pgm"),
             "--flat", "20,14,8"}, "", 0, "note: the flat region holds more than one true level"},
            {"counts partly outside the field are told", {"mlem", In("partly.sino"), In("partly.bmp"), "--row", "43",
             "--iterations", "1"}, "", 0, "note: 1 of the 2 counts of row 43 lie on lines that miss the round field"},
            {"progress reaches a log file, and a termination leaves no temporary file",
             {"mlem", In("centre.sino"), never, "--row", "43", "--iterations", "1000"},
             ">'" + In("stdout") + "' & p=$!; for i in $(seq 600); do grep -q '^ *1 ' '" + In("stdout") +
             "' && break; sleep 0.1; done; kill -TERM $p; wait $p", 143, "\n     1 "},
        };
    for (const auto &r : runs) {
        ProgramRun run = RunProgram(r.words, r.redirect);
        EXPECT_EQ(run.status, r.status) << r.what << ": " << run.err;
        EXPECT_NE((run.out + run.err).find(r.says), std::string::npos) << r.what << "\n" << run.out << run.err;
    }
    struct stat status;
    EXPECT_TRUE(stat("/dev/null", &status) == 0 && S_ISCHR(status.st_mode));
    EXPECT_TRUE(stat(In("pipe.txt").c_str(), &status) == 0 && S_ISFIFO(status.st_mode));
    EXPECT_EQ(Contents(In("victim")), "keep");
    EXPECT_TRUE(lstat(In("linked.txt").c_str(), &status) == 0 && S_ISREG(status.st_mode));
    EXPECT_FALSE(Exists(never));
#endif
    for (const auto &entry : std::filesystem::directory_iterator(Folder()))
        EXPECT_EQ(entry.path().filename().string().rfind("~qv", 0), std::string::npos) << entry.path();
    EXPECT_TRUE(std::filesystem::is_empty(Folder() + "/empty"));
}

// The help texts spell out the program's geometry in words; each number must be the one
// the program computes with.
// Each row of the filter table is a kind the tool makes, names in its help and refuses
// options for as the row says.
TEST(DataTool, EveryFilterKindIsMadeAndNamedAsItsRowSays) {
    static char tool[GeometryTextBytes], filter[GeometryTextBytes];
    FillGeometry(ToolHelp(), tool);
    FillGeometry(FilterHelp, filter);
    std::string out = In("kind.txt");
    for (int kind = 0; kind < FilterKindCount; kind++) {
        const FilterKind &row = FilterKindTable[kind];
        EXPECT_EQ(FindFilterKind(row.name), kind) << row.name << ": a name used twice";
        EXPECT_TRUE(row.tap || row.cutTap) << row.name;
        EXPECT_NE(strstr(tool, row.name), nullptr) << row.name;
        EXPECT_NE(strstr(filter, (std::string("\n  ") + row.name + " ").c_str()), nullptr) << row.name;
        EXPECT_EQ(RunTool({"filter", out, row.name}), 0) << ToolError;
        EXPECT_EQ(RunTool({"filter", out, row.name, "--cutoff", "0.5"}), row.cutTap ? 0 : 2) << row.name;
        EXPECT_EQ(RunTool({"filter", out, row.name, "--order", "2"}), row.takesOrder ? 0 : 2) << row.name;
    }
    EXPECT_EQ(FindFilterKind("gauss"), -1);
}

TEST(DataTool, HelpTextsStateTheProgramsGeometry) {
    auto text = [](const char *format, double a, double b = 0, double c = 0, double d = 0) {
        char line[128];
        snprintf(line, sizeof line, format, a, b, c, d);
        return std::string(line);
    };
    const std::string place = text("x %g..%g, y %g..%g", FinalImageLeft, FinalImageRight, FinalImageTop, FinalImageBottom);
    const struct {
        const char *help;
        std::string states;
    } cases[] = {
        {ToolHelp(), text("%g slices x %g angles x %g radial bins", Slices, Angles, Bins)},
        {ToolHelp(), text("= r - %g, th = a x\n%g degrees", RotationCentre, AngleStepDegrees)},
        {ToolHelp(), text("is file slice %g - n", LastSlice)},
        {CompareHelp, text("%g x %g pixels", PictureWidth, PictureHeight)},
        {CompareHelp, place},
        {MlemHelp, text("writes a %g x %g picture", PictureWidth, PictureHeight)},
        {MlemHelp, place},
        {MlemHelp, text("round field, %g\npixels from the centre", RotationCentre)},
        {SinogramHelp, text("more than %g pixels from the\ncentre", RotationCentre)},
    };
    for (const auto &c : cases) {
        static char filled[GeometryTextBytes];
        FillGeometry(c.help, filled);
        EXPECT_NE(strstr(filled, c.states.c_str()), nullptr) << c.states;
        EXPECT_EQ(strchr(filled, '@'), nullptr) << "a token left unfilled:\n" << filled;
    }
}

}  // namespace data_tool_test
