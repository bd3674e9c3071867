// The picture readers on small files of every kind the teacher's paint program may
// write, and on damaged, truncated and oversized ones.
#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "teaching/picture_bytes.h"
#include "teaching/picture_file.h"
#include "teaching/tool_error.h"
#include "support/test_folder.h"

namespace picture_file_test {

// A 5 x 3 picture: levels 0..9 across, a white corner at the top right.
static const std::vector<int> Levels = {0, 1, 2, 3, 9, 4, 5, 6, 7, 8, 8, 0, 3, 0, 1};

// 5 x 3 colours: red top left, blue bottom right, white top right, greys elsewhere.
static std::vector<uint32_t> Colours() {
    std::vector<uint32_t> c(15, 0x808080u);
    c[0] = 0xFF0000u;
    c[4] = 0xFFFFFFu;
    c[14] = 0x0000FFu;
    return c;
}

static std::string Cut(const std::string &bytes, size_t drop) { return bytes.substr(0, bytes.size() - drop); }

static std::string WithByte(std::string bytes, size_t at, char value) {
    bytes[at] = value;
    return bytes;
}

struct Spot { int row, column; float level; };

struct PictureCase {
    const char *name;
    std::string bytes;
    const char *refusal;   // NULL: read
    double white;
    std::vector<Spot> spots;
};

TEST(PictureFile, ReadsEveryKindAndRefusesDamagedOnes) {
    std::vector<uint32_t> indices = {1, 0, 128, 255, 255, 7, 7, 7, 7, 7, 0, 0, 0, 0, 2};
    std::vector<int> deep(Levels);
    deep[4] = 999;
    const float Red = 76.245f, Blue = 29.07f;
    const PictureCase cases[] = {
        {"P2 with comments", PgmBytes(false, 5, 3, 9, Levels), NULL, 9, {{0, 0, 0}, {0, 4, 9}, {1, 0, 4}, {2, 4, 1}}},
        {"P5 8-bit", PgmBytes(true, 5, 3, 9, Levels), NULL, 9, {{0, 4, 9}, {1, 4, 8}, {2, 2, 3}}},
        {"P5 16-bit", PgmBytes(true, 5, 3, 1000, deep), NULL, 1000, {{0, 4, 999}, {2, 0, 8}}},
        {"BMP 24-bit, bottom-up, padded rows", BmpBytes(5, 3, 24, Colours()), NULL, 255,
         {{0, 0, Red}, {0, 4, 255}, {1, 2, 128}, {2, 4, Blue}}},
        {"BMP 24-bit, top-down", BmpBytes(5, 3, 24, Colours(), true), NULL, 255, {{0, 0, Red}, {2, 4, Blue}}},
        {"BMP 8-bit through its palette, 124-byte header", BmpBytes(5, 3, 8, indices, false, 124), NULL, 255,
         {{0, 0, Red}, {0, 2, 128}, {0, 3, 255}, {1, 1, 7}, {2, 4, Blue}}},
        {"P5 truncated", Cut(PgmBytes(true, 5, 3, 9, Levels), 2), "ends early, in row 3 of 3", 0, {}},
        {"P2 truncated", Cut(PgmBytes(false, 5, 3, 9, Levels), 4), "ends early, in row 3 of 3", 0, {}},
        {"P2 above its largest value", PgmBytes(false, 5, 3, 8, Levels), "level 9 in row 1 is above the largest value 8",
         0, {}},
        {"P2 with a word", "P2 2 1 9\n3 x\n", "\"x\" in row 1 is not a grey level", 0, {}},
        {"PGM header without its size", "P5\n5 3\n", "the PGM header is damaged", 0, {}},
        {"PGM of 65536 levels", "P5 1 1 65536\n", "largest value is 65536", 0, {}},
        {"PGM too wide", "P5 300 10 255\n", "is 300 x 10 pixels; a slice holds at most 256 x 256", 0, {}},
        {"PGM of no pixels", "P2 0 3 9\n", "has no pixels (0 x 3)", 0, {}},
        {"BMP too tall", BmpBytes(1, 257, 8, std::vector<uint32_t>(257, 3)),
         "is 1 x 257 pixels; a slice holds at most 256 x 256", 0, {}},
        {"BMP truncated", Cut(BmpBytes(5, 3, 24, Colours()), 1), "ends early, after 2 of 3 rows", 0, {}},
        {"BMP header truncated", BmpBytes(5, 3, 24, Colours()).substr(0, 30), "ends inside its BMP header", 0, {}},
        {"BMP of 32 bits", WithByte(BmpBytes(5, 3, 24, Colours()), 28, 32), "has 32 bits per pixel", 0, {}},
        {"BMP compressed", WithByte(BmpBytes(5, 3, 8, indices), 30, 1), "is compressed", 0, {}},
        {"PNG", "\x89PNG\r\n\x1a\n", "is neither a PGM (P2, P5) nor a BMP picture", 0, {}},
        {"empty", "", "is empty or too short", 0, {}},
    };
    std::string path = TestFolderPath("picture_file");
    for (const PictureCase &c : cases) {
        WriteBytes(path, c.bytes);
        ToolError[0] = 0;
        int read = ReadPicture(path.c_str(), 256, 256, "a slice");
        if (c.refusal) {
            EXPECT_EQ(read, 0) << c.name;
            EXPECT_NE(strstr(ToolError, c.refusal), nullptr) << c.name << ": " << ToolError;
            EXPECT_EQ(strchr(ToolError, '\n'), nullptr) << c.name;
            continue;
        }
        ASSERT_EQ(read, 1) << c.name << ": " << ToolError;
        EXPECT_EQ(PictureColumns, 5) << c.name;
        EXPECT_EQ(PictureRows, 3) << c.name;
        EXPECT_EQ(PictureWhite, c.white) << c.name;
        for (const Spot &s : c.spots)
            EXPECT_NEAR(PictureLevel[s.row][s.column], s.level, 1e-4) << c.name << " row " << s.row << " column " << s.column;
    }
    remove(path.c_str());
    EXPECT_EQ(ReadPicture(path.c_str(), 256, 256, "a slice"), 0);
    EXPECT_NE(strstr(ToolError, "cannot open"), nullptr);
}

}  // namespace picture_file_test
