// quorvel_data fbp against the program's own reconstruction: the final image of the
// picture it writes is the core's result pixel for pixel, for the odd volumes the program
// opens, and its refusals are one line each with nothing left behind.
#include <math.h>
#include <stdio.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/gray_level.h"
#include "recon/filter_file.h"
#include "recon/projection_views.h"
#include "recon/reconstruction.h"
#include "recon/sinogram_file.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"
#include "support/file_bytes.h"
#include "support/test_folder.h"
#include "teaching/tool_run.h"
#include "teaching/commands/data_tool.h"
#include "teaching/filter_taps.h"
#include "teaching/tool_error.h"

namespace fbp_command_test {

static std::string In(const char *name) {
    static std::string folder;
    if (folder.empty()) {
        folder = TestFolderPath("fbp_command");
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    return folder + "/" + name;
}


// Two discs drifting with the slice over a tilted floor that dips below 0, after a header
// of any bytes; trailing bytes after the samples when asked.
static void WriteVolume(const std::string &path, float floor, int trailing) {
    FILE *file = fopen(path.c_str(), "wb");
    ASSERT_TRUE(file);
    unsigned char header[24];
    for (int i = 0; i < 24; i++) header[i] = (unsigned char)(0xF0 + i);
    fwrite(header, 1, sizeof header, file);
    static float slice[Angles][Bins];
    for (int s = 0; s < Slices; s++) {
        for (int a = 0; a < Angles; a++) {
            double theta = a * AngleStepDegrees * RadiansPerDegree;
            for (int r = 0; r < Bins; r++) {
                double value = floor + 0.02 * r;
                const double discs[2][4] = {{-20.0 + 0.4 * s, 10.0, 40.0, 1.0}, {30.0, -25.0, 12.0, 5.0}};
                for (const auto &d : discs) {
                    double t = (r - RotationCentre) - (d[0] * cos(theta) + d[1] * sin(theta));
                    if (fabs(t) < d[2]) value += d[3] * 2.0 * sqrt(d[2] * d[2] - t * t);
                }
                slice[a][r] = (float)value;
            }
        }
        fwrite(slice, sizeof slice, 1, file);
    }
    for (int i = 0; i < trailing; i++) fputc(i & 0xFF, file);
    fclose(file);
}

// Pixels of the written picture's final image that differ from the core's for the same
// inputs; -1 when the file is not a whole picture.
static int FinalImageMismatches(const std::string &bitmap, const std::string &volume, const std::string &filter,
                                int row, char method) {
    std::string bytes = FileBytes(bitmap);
    if ((long)bytes.size() != 54L + 3L * PictureWidth * PictureHeight || bytes[0] != 'B') return -1;
    LoadSinogramVolume(volume.c_str());
    FindMaxCount();
    ExtractSlice(row);
    if (!filter.empty()) ReadFilterTaps(filter.c_str());
    ReconstructSlice(method);
    int mismatches = 0;
    for (int i = 0; i < ImageSide; i++)
        for (int p = 0; p < ImageSide; p++) {
            unsigned char grey = (unsigned char)GrayLevel(ReconImage[p][ImageSide - 1 - i], DisplayMax);
            for (int d = 0; d < 4; d++) {
                int x = FinalImageLeft + 2 * p + d % 2, y = FinalImageTop + 2 * i + d / 2;
                const char *bgr = &bytes[54 + (size_t)(PictureHeight - 1 - y) * PictureWidth * 3 + 3 * x];
                mismatches += (unsigned char)bgr[0] != grey || (unsigned char)bgr[1] != grey ||
                              (unsigned char)bgr[2] != grey;
            }
        }
    return mismatches;
}

struct Rebuild { const char *name; float floor; int trailing; int row; bool filtered; };

TEST(FbpCommand, FinalImageIsTheProgramsForEveryVolumeItOpens) {
    std::string filter = In("ramp.txt");
    double taps[FilterTapCount];
    MakeFilterTaps(FilterRamp, taps);
    ASSERT_TRUE(WriteFilterFile(filter.c_str(), taps));
    const Rebuild cases[] = {
        {"plain.sino", 0.5f, 0, 43, true},
        {"negative.sino", -3.0f, 0, 10, true},
        {"trailing.sino", 0.0f, 1000, 80, false},
    };
    for (const Rebuild &c : cases) {
        SCOPED_TRACE(c.name);
        std::string volume = In(c.name), picture = In("slice.bmp");
        WriteVolume(volume, c.floor, c.trailing);
        std::vector<std::string> words = {"fbp", volume, picture, "--row", std::to_string(c.row)};
        if (c.filtered) words.insert(words.end(), {"--filter", filter});
        else words.push_back("--simple");
        ASSERT_EQ(RunTool(words), ExitDone) << ToolError;
        EXPECT_EQ(FinalImageMismatches(picture, volume, c.filtered ? filter : "", c.row, c.filtered ? '2' : '1'), 0);
        int lit = 0;
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++) lit += GrayLevel(ReconImage[p][q], DisplayMax) > 0;
        EXPECT_GT(lit, 1000);
    }
}

struct Refusal { std::vector<std::string> words; int status; const char *line; };

TEST(FbpCommand, RefusesEachBadArgumentOrFileInOneLineAndLeavesNothingBehind) {
    std::string volume = In("plain.sino"), out = In("refused.bmp"), missing = In("missing.txt");
    WriteVolume(volume, 0.5f, 0);
    FILE *shortFile = fopen(In("short.sino").c_str(), "wb");
    ASSERT_TRUE(shortFile);
    fputs("too short", shortFile);
    fclose(shortFile);
    const Refusal cases[] = {
        {{"fbp", volume, out, "--simple"}, ExitUsage, "needs --row"},
        {{"fbp", volume, out, "--row", "43"}, ExitUsage, "needs a method"},
        {{"fbp", volume, out, "--row", "87", "--simple"}, ExitUsage, "--row"},
        {{"fbp", volume, out, "--row", "4x", "--simple"}, ExitUsage, "--row"},
        {{"fbp", volume, "--row", "43", "--simple"}, ExitUsage, "two words"},
        {{"fbp", volume, volume, "--row", "43", "--simple"}, ExitUsage, "also an input"},
        {{"fbp", volume, out, "--row", "43", "--simple", "--iterations", "3"}, ExitUsage, "iterations"},
        {{"fbp", volume, out, "--row", "43", "--filter", missing}, ExitFailed, "cannot open the filter file"},
        {{"fbp", In("none.sino"), out, "--row", "43", "--simple"}, ExitFailed, "Cannot open the sinogram file"},
        {{"fbp", In("short.sino"), out, "--row", "43", "--simple"}, ExitFailed, "too short"},
    };
    for (const Refusal &c : cases) {
        std::string typed;
        for (const std::string &w : c.words) typed += w + " ";
        SCOPED_TRACE(typed);
        ResetFakeConsole();
        EXPECT_EQ(RunTool(c.words), c.status);
        // The volume's own problems are the program's message box, here the stand-in's.
        std::string line = FakeMessageCount ? FakeMessages[0] : ToolError;
        EXPECT_NE(line.find(c.line), std::string::npos) << line;
        EXPECT_EQ(std::string(ToolError).find('\n'), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

}  // namespace fbp_command_test
