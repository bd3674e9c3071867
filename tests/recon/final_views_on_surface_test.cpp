// The angle gallery and the final image read back from the graphics window's real picture.
#include <gtest/gtest.h>

#include "graphics/surface.h"
#include "recon/angle_gallery.h"
#include "recon/final_image.h"
#include "recon/view_checks.h"
#include "support/test_windows.h"

namespace final_views_on_surface_test {

namespace {

uint32_t Read(int x, int y) { return GetPixel(SurfaceDC, x, y); }

const RECT Whole = {0, 0, PictureWidth, PictureHeight};
const long AllPixels = (long)PictureWidth * PictureHeight;

class ViewsOnSurface : public testing::Test {
  protected:
    void SetUp() override {
        EnsureWindows();
        GraphicsOpen();
        DrawColor = Background;
        PenWidth = 1;
        FillBox(0, 0, PictureWidth, PictureHeight);
        ASSERT_EQ(CountPixelsNot(SurfaceDC, Whole, Background), 0);
    }
};

TEST_F(ViewsOnSurface, GallerySlotsAndTheirClippingAtThePictureEdges) {
    FillGalleryStack();
    GalleryMax = 255.0f;
    ShowAngleGallery();
    long visibleTotal = 0;
    EXPECT_EQ(SlotsNotAsExpected(Read, &visibleTotal), 0);
    EXPECT_EQ(CountPixelsNot(SurfaceDC, Whole, Background), visibleTotal);
    // The picture's last pixel belongs to slot 49: layer 98 at P 58, Q 158.
    EXPECT_EQ(Read(1199, 799), GrayColor((int)GalleryValue(58, 158, 98)));
}

TEST_F(ViewsOnSurface, FinalImageCornersAndItsWholeArea) {
    FillFinalImage();
    ShowReconstruction();
    EXPECT_EQ(CheckFinalImage(Read), 0);
    for (int dy = 0; dy < 2; dy++)
        for (int dx = 0; dx < 2; dx++) {
            EXPECT_EQ(Read(dx, FinalImageTop + dy), ColorWhite);
            EXPECT_EQ(Read(510 + dx, 650 + dy), GrayColor(FinalCornerGray));
        }
    EXPECT_EQ(CountPixelsNot(SurfaceDC, Whole, Background), 512L * 512L);
}

TEST_F(ViewsOnSurface, EverythingZeroDrawsBlack) {
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) {
            for (int a = 0; a < Angles; a++) AngleStack[a][p][q] = 0.0f;
            ReconImage[p][q] = 0.0f;
        }
    FindGalleryMax();
    FindDisplayMax();
    ShowAngleGallery();
    ShowReconstruction();
    long drawn = PixelsOfBothViews();
    EXPECT_EQ(CountPixelsNot(SurfaceDC, Whole, Background), drawn);
    EXPECT_EQ(AllPixels - CountPixelsNot(SurfaceDC, Whole, ColorBlack), drawn);
}

}  // namespace

}  // namespace final_views_on_surface_test
