// The raw-data views on the host picture, and the copy of the chosen slice.
#include <gtest/gtest.h>
#include <string.h>

#include "recon/projection_views.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"

namespace projection_views_test {

// Grey 1..251, different for neighbouring bins, angles and slices.
static int Grey(int r, int a, int s) { return (r * 7 + a * 13 + s * 29) % 251 + 1; }

static void FillVolumeWithGreys() {
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++)
            for (int s = 0; s < Slices; s++) SinogramVolume[s][a][r] = (float)Grey(r, a, s);
    MaxCount = 255.0f;  // so a sample's grey is its value
}

static uint32_t Gray(int g) { return (uint32_t)g * 0x010101u; }

class ProjectionViews : public testing::Test {
  protected:
    void SetUp() override {
        ResetFakePicture();
        FillVolumeWithGreys();
    }
};

TEST_F(ProjectionViews, OverviewCellsShowBins32To223AndAreCutAtTheEdges) {
    ShowSinogramOverview();
    EXPECT_EQ(FakePumpCount, 87);
    struct { int s, x0, y0, width, height; } cells[] = {
        {0, 0, 0, 192, 128},
        {9, 194, 130, 192, 128},
        {45, 970, 650, 192, 128},
        {6, 1164, 0, 36, 128},   // column 6: bins 32..67 only
        {50, 388, 780, 192, 20}, // row 6: angles 0..19 only
        {54, 1164, 780, 36, 20},
    };
    for (auto &c : cells) {
        long wrong = 0;
        for (int v = 0; v < c.height; v++)
            for (int u = 0; u < c.width; u++)
                wrong += FakePixel(c.x0 + u, c.y0 + v) != Gray(Grey(32 + u, v, c.s));
        EXPECT_EQ(wrong, 0) << "slice " << c.s;
    }
    // The two-pixel gaps between cells stay black.
    for (int y = 0; y < 128; y++) EXPECT_EQ(FakePixel(192, y) | FakePixel(193, y), 0u) << y;
    for (int x = 0; x < 192; x++) EXPECT_EQ(FakePixel(x, 128) | FakePixel(x, 129), 0u) << x;
}

TEST_F(ProjectionViews, GalleryColumnsTakeThreeBinsPerTwoPixelsWithSlice86OnTop) {
    ShowProjectionGallery();
    EXPECT_EQ(FakePumpCount, 64);
    struct { int c, bin; } columns[] = {{0, 48}, {1, 49}, {2, 51}, {3, 52}, {118, 225}, {119, 226}};
    for (auto &col : columns) {
        EXPECT_EQ(FakePixel(col.c, 0), Gray(Grey(col.bin, 0, 86))) << "column " << col.c;
        EXPECT_EQ(FakePixel(col.c, 86), Gray(Grey(col.bin, 0, 0))) << "column " << col.c;
    }
    struct { int g, x0, y0; } images[] = {{0, 0, 0}, {13, 360, 100}, {63, 360, 600}};
    for (auto &im : images) {
        long wrong = 0;
        for (int i = 0; i < 87; i++)
            for (int c = 0; c < 120; c++)
                wrong += FakePixel(im.x0 + c, im.y0 + i) != Gray(Grey(48 + 3 * c / 2, 2 * im.g, 86 - i));
        EXPECT_EQ(wrong, 0) << "image " << im.g;
    }
    EXPECT_NE(FakePixel(1199, 586), 0u);  // last pixel of image 59
    EXPECT_NE(FakePixel(479, 686), 0u);   // last pixel of image 63
    EXPECT_EQ(FakePixel(480, 686), 0u);   // no image 64
    EXPECT_EQ(FakePixel(0, 87), 0u);      // below image 0
}

TEST_F(ProjectionViews, MarkersCrossRowNOfEveryImageInYellow) {
    for (int n : {0, 40, 86}) {
        ResetFakePicture();
        DrawSliceMarkers(n);
        EXPECT_EQ(FakePumpCount, 64);
        ASSERT_EQ(FakeLineCount, 64);
        for (int m = 0; m < 64; m++) {
            const FakeLine &line = FakeLines[m];
            int x0 = (m % 10) * 120, y = (m / 10) * 100 + n;
            EXPECT_EQ(line.x0, x0);
            EXPECT_EQ(line.x1, x0 + 117);
            EXPECT_EQ(line.y0, y);
            EXPECT_EQ(line.y1, y);
            EXPECT_EQ(line.color, ColorYellow);
            EXPECT_EQ(line.width, 1);
        }
        EXPECT_EQ(FakePixel(117, n), ColorYellow);
        EXPECT_EQ(FakePixel(118, n), 0u);
    }
}

TEST_F(ProjectionViews, ExtractSliceTakesFileSlice86MinusN) {
    for (int n : {0, 40, 86}) {
        ExtractSlice(n);
        long wrong = 0;
        for (int r = 0; r < Bins; r++)
            for (int a = 0; a < Angles; a++) wrong += SliceSinogram[r][a] != (float)Grey(r, a, 86 - n);
        EXPECT_EQ(wrong, 0) << "n " << n;
    }
    // A row that names no slice copies nothing.
    ExtractSlice(40);
    ExtractSlice(87);
    ExtractSlice(-1);
    EXPECT_EQ(SliceSinogram[5][6], (float)Grey(5, 6, 46));
}

TEST_F(ProjectionViews, SliceSinogramSitsAt125WithItsLabelOverWhatWasThere) {
    ExtractSlice(10);
    FakePixels[200][50] = ColorYellow;  // drawn earlier, away from the sinogram
    ShowSliceSinogram();
    long wrong = 0;
    for (int a = 0; a < 128; a++)
        for (int r = 0; r < 256; r++) wrong += FakePixel(125 + r, a) != Gray(Grey(r, a, 76));
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(FakePixel(124, 0), 0u);
    EXPECT_EQ(FakePixel(381, 0), 0u);
    EXPECT_EQ(FakePixel(125, 128), 0u);
    EXPECT_EQ(FakePixels[200][50], ColorYellow);
    EXPECT_EQ(FakePumpCount, 0);
    ASSERT_EQ(FakeLabelCount, 1);
    EXPECT_EQ(DescribeLabel(FakeLabels[0]), "\"Sinogram\" at (200, 150) height 30 colour 0xFFFFFF");
}

TEST_F(ProjectionViews, ZeroMaxCountAndNegativeSamplesAreBlack) {
    SinogramVolume[0][0][40] = -100.0f;
    ShowSinogramOverview();
    EXPECT_EQ(FakePixel(8, 0), 0u);
    MaxCount = 0.0f;
    ShowSinogramOverview();
    ShowProjectionGallery();
    long lit = 0;
    for (int y = 0; y < PictureHeight; y++)
        for (int x = 0; x < PictureWidth; x++) lit += FakePixels[y][x] != 0;
    EXPECT_EQ(lit, 0);
}

}  // namespace projection_views_test
