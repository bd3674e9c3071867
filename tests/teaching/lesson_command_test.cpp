// quorvel_data lesson on a small picture: the files it writes, its figures against
// compare's on the pictures it wrote, and its refusals, which leave no page behind.
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include "recon/geometry.h"
#include "support/test_folder.h"
#include "teaching/tool_run.h"

namespace lesson_command_test {

static std::string In(const char *name) {
    static std::string folder;
    if (folder.empty()) {
        folder = TestFolderPath("lesson_command");
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    return folder + "/" + name;
}

static std::string Text(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

static std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// A 64 x 64 grey picture: a disc of 120 with a hot spot of 250 and a cold one of 0.
static std::string Truth() {
    std::string path = In("truth.pgm");
    if (std::filesystem::exists(path)) return path;
    std::string pgm = "P5\n64 64\n255\n";
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            int dx = x - 32, dy = y - 32, level = dx * dx + dy * dy < 28 * 28 ? 120 : 0;
            if ((x - 22) * (x - 22) + dy * dy < 25) level = 250;
            if ((x - 42) * (x - 42) + dy * dy < 25) level = 0;
            pgm += (char)level;
        }
    std::ofstream(path, std::ios::binary) << pgm;
    return path;
}

// Whether the PNG holds, pixel for pixel, the final image of the saved picture: its
// 2 x 2 blocks from the bottom-up 24-bit BMP, top row first.
static bool TileIsFinalImage(const std::string &png, const std::string &bmp) {
    std::string bytes = Text(bmp);
    int width, height, channels;
    unsigned char *tile = stbi_load(png.c_str(), &width, &height, &channels, 1);
    bool same = tile && width == ImageSide && height == ImageSide && bytes.size() == 54u + 3u * PictureWidth * PictureHeight;
    for (int row = 0; same && row < ImageSide; row++)
        for (int p = 0; same && p < ImageSide; p++) {
            int y = FinalImageTop + FinalImageScale * row, x = FinalImageLeft + FinalImageScale * p;
            size_t at = 54u + 3u * ((size_t)(PictureHeight - 1 - y) * PictureWidth + x);
            same = (unsigned char)bytes[at] == tile[row * ImageSide + p];
        }
    stbi_image_free(tile);
    return same;
}

static std::vector<std::string> SmallLesson(const std::string &folder) {
    return {"lesson", folder, "--picture", Truth(), "--counts", "50,400", "--filters", "simple,ramp",
            "--iterations", "2", "--seed", "7"};
}

TEST(LessonCommand, WritesThePageAndFiguresThatAreCompares) {
    std::string folder = In("small");
    ASSERT_EQ(RunTool(SmallLesson(folder)), ExitDone) << ToolError;
    std::vector<std::string> rows = Lines(Text(folder + "/figures.csv"));
    // Two doses by simple, ramp and MLEM, then three cases by ramp, half-cut Hann and MLEM,
    // then four effects by six methods and three wrong corrections by the two corrected filters.
    ASSERT_EQ(rows.size(), 1u + 2 * 3 + 3 * 3 + 4 * 6 + 3 * 2);
    EXPECT_EQ(rows[0], "lesson,dose,method,picture,correlation,nrmse,noise_percent,uniformity");
    for (size_t n = 1; n < rows.size(); n++) {
        SCOPED_TRACE(rows[n]);
        size_t third = rows[n].find(',', rows[n].find(',', rows[n].find(',') + 1) + 1);
        std::string afterMethod = rows[n].substr(third + 1);
        std::string picture = afterMethod.substr(0, afterMethod.find(','));
        EXPECT_EQ(Text(folder + "/" + picture).substr(0, 2), "BM");
        std::string tile = folder + "/" + picture.substr(0, picture.size() - 4) + ".png";
        EXPECT_TRUE(TileIsFinalImage(tile, folder + "/" + picture));
        testing::internal::CaptureStdout();
        int status = RunTool({"compare", folder + "/" + picture, "--picture", Truth(), "--csv"});
        std::vector<std::string> compared = Lines(testing::internal::GetCapturedStdout());
        ASSERT_EQ(status, ExitDone) << ToolError;
        ASSERT_EQ(compared.size(), 2u);
        EXPECT_EQ(afterMethod.substr(afterMethod.find(',')), compared[1].substr(compared[1].find(',')));
    }
    EXPECT_EQ(rows[1].rfind("dose,50,simple,dose-50-simple.bmp,", 0), 0u);
    EXPECT_EQ(rows[15].rfind("attenuation,1000,corrected/mlem_model,attenuation-corrected-mlem_model.bmp,", 0), 0u);
    EXPECT_EQ(rows.back().rfind("corrections,1000,moved_map/hann_half_corrected,corrections-moved_map-hann_half_corrected.bmp,", 0), 0u);

    std::string page = Text(folder + "/index.html");
    for (const char *shown : {"<svg", "dose-400-ramp.png", "attenuation-none-hann_half.png", "D3", "A10",
                              "corrections-all-mlem_effects.png", "C12", "T6", "a picture of your own has none"})
        EXPECT_NE(page.find(shown), std::string::npos) << shown;
    // D3 speaks of a max count of 100, which this run does not make; the trade-off follows
    // a phantom's spheres.
    std::string statements = Text(folder + "/statements.csv");
    EXPECT_NE(statements.find("D3,left out,"), std::string::npos) << statements;
    EXPECT_NE(statements.find("T1,left out,this run made no trade-off lesson"), std::string::npos) << statements;
    EXPECT_FALSE(std::filesystem::exists(folder + "/work")) << "the volumes are the run's own, removed";

    int width, height, channels;
    ASSERT_TRUE(stbi_info((folder + "/lesson-grid.png").c_str(), &width, &height, &channels));
    EXPECT_EQ(width, 3 * ImageSide + 2 * 6) << "a column per method";
    EXPECT_EQ(height, 2 * ImageSide + 6) << "a row per dose";
    ASSERT_TRUE(stbi_info((folder + "/corrections-grid.png").c_str(), &width, &height, &channels));
    EXPECT_EQ(width, 6 * ImageSide + 5 * 6) << "a column per method";
    EXPECT_EQ(height, 7 * ImageSide + 6 * 6) << "a row per case, the wrong ones too";
    std::vector<std::string> table = Lines(Text(folder + "/lesson-table.md"));
    ASSERT_EQ(table.size(), 2u + 2 * 3);
    EXPECT_EQ(table[2].rfind("| 50 | simple backprojection | ", 0), 0u) << table[2];
    std::vector<std::string> grid = Lines(Text(folder + "/corrections-grid.md"));
    ASSERT_EQ(grid.size(), 2u + 7);
    EXPECT_EQ(grid.back(), "| all, map moved 4 pixels | | | ![all, map moved 4 pixels: ramp, corrected]"
                           "(corrections-moved_map-ramp_corrected.png) | ![all, map moved 4 pixels: Hann, cutoff 0.5, "
                           "corrected](corrections-moved_map-hann_half_corrected.png) | | |");

    // A run that fails midway (a black picture, found when its first volume is made) takes
    // the earlier page with it, since the pictures it stood for may be half replaced.
    std::string black = In("black.pgm");
    std::ofstream(black, std::ios::binary) << "P5\n8 8\n255\n" << std::string(64, '\0');
    std::vector<std::string> failing = SmallLesson(folder);
    failing[3] = black;
    EXPECT_EQ(RunTool(failing), ExitFailed);
    EXPECT_NE(strstr(ToolError, "black"), nullptr) << ToolError;
    EXPECT_FALSE(std::filesystem::exists(folder + "/index.html"));

    // A folder an earlier lesson wrote is written again.
    std::vector<std::string> japanese = SmallLesson(folder);
    japanese[5] = "400";
    japanese.insert(japanese.end(), {"--lang", "ja"});
    ASSERT_EQ(RunTool(japanese), ExitDone) << ToolError;
    page = Text(folder + "/index.html");
    EXPECT_NE(page.find("lang=\"ja\""), std::string::npos);
    EXPECT_NE(page.find("学生が見るべきこと"), std::string::npos);
}

TEST(LessonCommand, RefusesBadInputWithOneLineAndNoPage) {
    std::string stranger = In("stranger");
    std::filesystem::create_directories(stranger);
    std::ofstream(stranger + "/notes.txt", std::ios::binary) << "a teacher's notes\n";
    std::ofstream(In("a_file")) << "x";
    const struct {
        std::vector<std::string> words;
        int status;
        const char *says;
    } cases[] = {
        {{"lesson", In("bad")}, ExitUsage, "one truth"},
        {{"lesson", In("bad"), "--phantom", "head", "--picture", Truth()}, ExitUsage, "one truth"},
        {{"lesson", "--phantom", "head"}, ExitUsage, "one word"},
        {{"lesson", In("bad"), "--phantom", "brain"}, ExitUsage, "--phantom"},
        {{"lesson", In("bad"), "--phantom", "head", "--counts", "0"}, ExitUsage, "--counts"},
        {{"lesson", In("bad"), "--phantom", "head", "--counts", "100,100"}, ExitUsage, "twice"},
        {{"lesson", In("bad"), "--phantom", "head", "--counts", "100,"}, ExitUsage, "none empty"},
        {{"lesson", In("bad"), "--phantom", "head", "--filters", "gauss"}, ExitUsage, "unknown filter"},
        {{"lesson", In("bad"), "--phantom", "head", "--filters", "delta:0.5"}, ExitUsage, "cutoff"},
        {{"lesson", In("bad"), "--phantom", "head", "--filters", "hann:2"}, ExitUsage, "cutoff"},
        {{"lesson", In("bad"), "--phantom", "head", "--iterations", "0"}, ExitUsage, "--iterations"},
        {{"lesson", In("bad"), "--phantom", "head", "--lang", "fr"}, ExitUsage, "--lang"},
        {{"lesson", In("bad"), "--phantom", "head", "--noise", "none"}, ExitUsage, "--noise"},
        {{"lesson", In("bad"), "--picture", In("missing.pgm")}, ExitFailed, "missing.pgm"},
        {{"lesson", stranger, "--phantom", "head"}, ExitFailed, "did not write"},
        {{"lesson", In("a_file"), "--phantom", "head"}, ExitFailed, "a file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.words.size() > 2 ? c.words[2] + " " + c.words.back() : c.words.back());
        EXPECT_EQ(RunTool(c.words), c.status);
        EXPECT_NE(strstr(ToolError, c.says), nullptr) << ToolError;
        EXPECT_EQ(strchr(ToolError, '\n'), nullptr);
    }
    EXPECT_FALSE(std::filesystem::exists(In("bad")));
    EXPECT_EQ(Text(stranger + "/notes.txt"), "a teacher's notes\n");
    EXPECT_FALSE(std::filesystem::exists(stranger + "/index.html"));
}

}  // namespace lesson_command_test
