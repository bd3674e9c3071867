// The workflow's pictures read back from the real picture of the graphics window.
#include <gtest/gtest.h>

#include "app/window_side.h"
#include "graphics/surface.h"
#include "recon/filter_file.h"
#include "recon/filter_plot.h"
#include "recon/projection_views.h"
#include "recon/working_arrays.h"
#include "support/test_windows.h"

namespace views_on_surface_test {

namespace {

// Grey 1..251, different for neighbouring bins, angles and slices.
int Grey(int r, int a, int s) { return (r * 7 + a * 13 + s * 29) % 251 + 1; }
COLORREF Gray(int g) { return RGB(g, g, g); }
const COLORREF Yellow = RGB(255, 255, 0);
const COLORREF White = RGB(255, 255, 255);
const COLORREF Black = RGB(0, 0, 0);

class SurfaceViews : public testing::Test {
  protected:
    void SetUp() override {
        EnsureWindows();
        GraphicsOpen();
        PenWidth = 1;
        for (int r = 0; r < Bins; r++)
            for (int a = 0; a < Angles; a++)
                for (int s = 0; s < Slices; s++) SinogramVolume[s][a][r] = (float)Grey(r, a, s);
        MaxCount = 255.0f;
        for (int k = 0; k < FilterTapCount; k++) FilterTaps[k] = 0.0;
    }
    COLORREF At(int x, int y) { return GetPixel(SurfaceDC, x, y); }
};

TEST_F(SurfaceViews, OverviewCellsAndTheirCutEdges) {
    ShowSinogramOverview();
    struct { int s, x, y, u, v; } samples[] = {
        {0, 0, 0, 0, 0},          {0, 191, 127, 191, 127}, {9, 194 + 17, 130 + 5, 17, 5},
        {6, 1199, 0, 35, 0},      // column 6 ends at bin 67
        {48, 0, 799, 0, 19},      // row 6 ends at angle 19
        {54, 1199, 799, 35, 19},
    };
    for (auto &p : samples) EXPECT_EQ(At(p.x, p.y), Gray(Grey(32 + p.u, p.v, p.s))) << "slice " << p.s;
    EXPECT_EQ(At(192, 10), Black);  // gap between cells
    EXPECT_EQ(At(10, 128), Black);
}

TEST_F(SurfaceViews, GalleryMapsColumnsToBinsWithSlice86OnTop) {
    ShowProjectionGallery();
    struct { int g, c, i, bin; } samples[] = {
        {0, 0, 0, 48, }, {0, 1, 0, 49}, {0, 2, 0, 51}, {0, 3, 0, 52}, {0, 119, 0, 226},
        {0, 0, 86, 48}, {13, 77, 40, 48 + 115}, {63, 119, 86, 226},
    };
    for (auto &p : samples) {
        int x = (p.g % 10) * 120 + p.c, y = (p.g / 10) * 100 + p.i;
        EXPECT_EQ(At(x, y), Gray(Grey(p.bin, 2 * p.g, 86 - p.i))) << "image " << p.g << " column " << p.c;
    }
    EXPECT_EQ(At(0, 87), Black);
}

TEST_F(SurfaceViews, MarkersAndSliceSinogram) {
    ShowProjectionGallery();
    DrawSliceMarkers(40);
    for (int m = 0; m < 64; m++) {
        int x0 = (m % 10) * 120, y = (m / 10) * 100 + 40;
        EXPECT_EQ(At(x0, y), Yellow) << m;
        EXPECT_EQ(At(x0 + 117, y), Yellow) << m;
        EXPECT_NE(At(x0 + 118, y), Yellow) << m;
        EXPECT_NE(At(x0 + 5, y + 1), Yellow) << m;
    }
    ExtractSlice(10);
    ShowSliceSinogram();
    struct { int r, a; } samples[] = {{0, 0}, {255, 0}, {0, 127}, {255, 127}, {100, 40}};
    for (auto &p : samples) EXPECT_EQ(At(125 + p.r, p.a), Gray(Grey(p.r, p.a, 76))) << p.r << "," << p.a;
    EXPECT_EQ(At(124, 0), Gray(Grey(48 + 3 * 4 / 2, 2, 86)));  // image 1 beside it
    EXPECT_EQ(At(0, 40), Yellow);                                // a marker it does not cover
    EXPECT_GT(CountPixelsNot(SurfaceDC, RECT{200, 150, 320, 180}, Black), 0) << "the label";
}

TEST_F(SurfaceViews, ZeroFilterIsAFlatLineAcrossABlackPanel) {
    DrawColor = ColorWhite;
    FillBox(450, 100, 800, 450);
    PlotFilter();
    for (int x = 500; x <= 700; x++) EXPECT_EQ(At(x, 300), Yellow) << x;
    EXPECT_EQ(At(600, 295), Black);
    EXPECT_EQ(At(720, 300), Black);
    EXPECT_EQ(At(749, 399), Black);
    EXPECT_EQ(At(750, 400), White);
    EXPECT_EQ(At(499, 200), White);
    EXPECT_GT(CountPixelsNot(SurfaceDC, RECT{500, 370, 700, 392}, Black), 0) << "the label";
    EXPECT_EQ(PenWidth, 1);
}

TEST_F(SurfaceViews, FilterCurveTruncatesTowardZero) {
    FilterTaps[0] = 1.25;   // y 288
    FilterTaps[1] = -0.37;  // y 303
    PlotFilter();
    EXPECT_EQ(At(600, 288), Yellow);
    EXPECT_EQ(At(605, 303), Yellow);
    EXPECT_EQ(At(595, 303), Yellow);
    EXPECT_EQ(At(600, 280), Black);
    EXPECT_EQ(At(605, 310), Black);
    EXPECT_EQ(At(700, 300), Yellow);
    EXPECT_EQ(At(500, 300), Yellow);
}

}  // namespace

}  // namespace views_on_surface_test
