// Reading the filter file, the plot's offsets and the plot on the host picture.
#include <gtest/gtest.h>
#include <math.h>

#include <string>
#include <vector>

#include "recon/filter_file.h"
#include "recon/filter_plot.h"
#include "recon/test_files.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"

namespace filter_test {

const double Untouched = -99.0;  // tap value before a read

static void PresetTaps() {
    for (int k = 0; k < FilterTapCount; k++) FilterTaps[k] = Untouched;
}

// Numbers k / 4 for k = 0..count-1, joined by separator.
static std::string Quarters(int count, const std::string &separator) {
    std::string text;
    for (int k = 0; k < count; k++) text += std::to_string(k / 4.0) + separator;
    return text;
}

TEST(FilterFile, LayoutsAndCountsAssignTheTapsTheFileSupplies) {
    std::string blankLines;
    for (int k = 0; k < 128; k++) blankLines += std::to_string(k / 4.0) + (k % 3 ? "  \t\n\n" : " \n \n");
    struct { const char *name; std::string text; int assigned; } cases[] = {
        {"one line", Quarters(128, " "), 128},
        {"one per line", Quarters(128, "\n"), 128},
        {"blank lines, trailing blanks and tabs", blankLines, 128},
        {"no final line break", Quarters(127, "\n") + "31.75", 128},
        {"200 numbers", Quarters(200, " "), 128},
        {"100 numbers", Quarters(100, "\n"), 100},
        {"a word as fifth item", "0 0.25 0.5 0.75 word 1.25 1.5\n", 4},
        {"empty file", "", 0},
    };
    for (auto &c : cases) {
        std::string path = TempPath("filter.txt");
        WriteTextFile(path, c.text);
        PresetTaps();
        EXPECT_EQ(ReadFilterTaps(path.c_str()), 1) << c.name;
        for (int k = 0; k < FilterTapCount; k++)
            EXPECT_EQ(FilterTaps[k], k < c.assigned ? k / 4.0 : Untouched) << c.name << ", tap " << k;
    }
}

TEST(FilterFile, NumbersTakeSignsFractionsAndExponents) {
    std::string path = TempPath("forms.txt");
    WriteTextFile(path, "+1.5e2 -2.5E-1 .5 -0 1e+0 -3. 7 0.001e3\n" + Quarters(120, " "));
    PresetTaps();
    ASSERT_EQ(ReadFilterTaps(path.c_str()), 1);
    double expected[] = {150.0, -0.25, 0.5, -0.0, 1.0, -3.0, 7.0, 1.0};
    for (int k = 0; k < 8; k++) EXPECT_EQ(FilterTaps[k], expected[k]) << k;
    EXPECT_TRUE(signbit(FilterTaps[3]));
    EXPECT_EQ(FilterTaps[127], 119 / 4.0);
}

TEST(FilterFile, UnopenableFileAssignsNothing) {
    PresetTaps();
    EXPECT_EQ(ReadFilterTaps(TempPath("no_such_filter.txt").c_str()), 0);
    EXPECT_EQ(ReadFilterTaps(""), 0);
    for (int k = 0; k < FilterTapCount; k++) EXPECT_EQ(FilterTaps[k], Untouched) << k;
}

TEST(FilterPlot, OffsetIsTenPerUnitTruncatedTowardZeroAndBounded) {
    struct { double tap; int offset; } exact[] = {
        {1.25, 12}, {-0.37, -3}, {0.0, 0}, {0.099, 0}, {-0.099, 0}, {-1.0, -10}, {3.0, 30}, {-12.99, -129},
    };
    for (auto &c : exact) EXPECT_EQ(FilterPlotOffset(c.tap), c.offset) << c.tap;
    // Far beyond the picture, yet 300 minus it is still a plain integer.
    for (double tap : {1e300, (double)INFINITY, 3e9, 2.2e8}) {
        EXPECT_GT(FilterPlotOffset(tap), 2000) << tap;
        EXPECT_LE(FilterPlotOffset(tap), 1 << 20) << tap;
        EXPECT_EQ(FilterPlotOffset(-tap), -FilterPlotOffset(tap)) << tap;
    }
    EXPECT_EQ(FilterPlotOffset(NAN), 0);
}

class FilterPanel : public testing::Test {
  protected:
    void SetUp() override {
        ResetFakePicture();
        for (int k = 0; k < FilterTapCount; k++) FilterTaps[k] = 0.0;
    }
};

TEST_F(FilterPanel, ZeroTapsGiveAFlatYellowLineOverABlackPanel) {
    for (int y = 100; y < 450; y++)
        for (int x = 450; x < 800; x++) FakePixels[y][x] = 0x00336699u;
    PlotFilter();
    ASSERT_EQ(FakeBoxCount, 1);
    EXPECT_EQ(FakeBoxes[0].left, 500);
    EXPECT_EQ(FakeBoxes[0].top, 130);
    EXPECT_EQ(FakeBoxes[0].right, 750);
    EXPECT_EQ(FakeBoxes[0].bottom, 400);
    EXPECT_EQ(FakeBoxes[0].color, ColorBlack);
    EXPECT_EQ(FakeBoxes[0].width, 1);
    ASSERT_EQ(FakeLabelCount, 1);
    EXPECT_EQ(DescribeLabel(FakeLabels[0]), "\"Real Space Filter\" at (500, 370) height 22 colour 0xFFFFFF");
    ASSERT_EQ(FakeLineCount, 40);
    for (int i = 0; i < FakeLineCount; i++) {
        EXPECT_EQ(FakeLines[i].color, ColorYellow);
        EXPECT_EQ(FakeLines[i].width, 4);
    }
    for (int x = 500; x <= 700; x++) EXPECT_EQ(FakePixel(x, 300), ColorYellow) << x;
    EXPECT_EQ(FakePixel(499, 300), 0x00336699u);  // left of the panel
    EXPECT_EQ(FakePixel(701, 300), 0u);
    EXPECT_EQ(FakePixel(600, 299), 0u);
    EXPECT_EQ(FakePixel(749, 399), 0u);
    EXPECT_EQ(FakePixel(750, 300), 0x00336699u);
    EXPECT_EQ(FakeFlushCount, 1);
    EXPECT_EQ(PenWidth, 1);
    EXPECT_EQ(DrawColor, ColorYellow);
}

TEST_F(FilterPanel, CurveIsMirroredAboutX600AndTruncatesTowardZero) {
    FilterTaps[0] = 1.25;
    FilterTaps[1] = -0.37;
    FilterTaps[20] = 2.0;
    FilterTaps[21] = 50.0;  // read but not drawn
    PlotFilter();
    ASSERT_EQ(FakeLineCount, 40);
    struct { int index, x0, y0, x1, y1; } lines[] = {
        {0, 600, 288, 605, 303}, {1, 600, 288, 595, 303},
        {2, 605, 303, 610, 300}, {3, 595, 303, 590, 300},
        {38, 695, 300, 700, 280}, {39, 505, 300, 500, 280},
    };
    for (auto &l : lines) {
        const FakeLine &line = FakeLines[l.index];
        EXPECT_EQ(line.x0, l.x0) << l.index;
        EXPECT_EQ(line.y0, l.y0) << l.index;
        EXPECT_EQ(line.x1, l.x1) << l.index;
        EXPECT_EQ(line.y1, l.y1) << l.index;
    }
}

}  // namespace filter_test
