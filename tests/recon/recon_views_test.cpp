// The angle gallery and the final image, drawn on the host stand-in picture.
#include <gtest/gtest.h>

#include "graphics/gray_level.h"
#include "recon/angle_gallery.h"
#include "recon/backprojection.h"
#include "recon/final_image.h"
#include "recon/gap_filling.h"
#include "recon/reconstruction.h"
#include "recon/summation.h"
#include "recon/view_checks.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"

namespace recon_views_test {

static void PaintBackground() {
    for (int y = 0; y < PictureHeight; y++)
        for (int x = 0; x < PictureWidth; x++) FakePixels[y][x] = Background;
}

static long PixelsNot(uint32_t color) {
    long count = 0;
    for (int y = 0; y < PictureHeight; y++)
        for (int x = 0; x < PictureWidth; x++) count += FakePixels[y][x] != color;
    return count;
}

class ReconViews : public testing::Test {
  protected:
    void SetUp() override {
        ResetFakePicture();
        PaintBackground();
    }
};

TEST_F(ReconViews, GallerySlotsShowEverySecondLayerClippedAtTheEdges) {
    FillGalleryStack();
    GalleryMax = 255.0f;
    ShowAngleGallery();
    long visibleTotal = 0;
    EXPECT_EQ(SlotsNotAsExpected([](int x, int y) { return FakePixel(x, y); }, &visibleTotal), 0);
    // Nothing between or beside the slots was touched.
    EXPECT_EQ(PixelsNot(Background), visibleTotal);
    EXPECT_EQ(FakePixel(128, 300), Background);
    EXPECT_EQ(FakePixel(129, 300), Background);
    EXPECT_EQ(FakePixel(300, 199), Background);
    EXPECT_EQ(FakePixel(300, 329), Background);
    // The last pixel plotted is that of slot 63, below the picture.
    EXPECT_EQ(DrawColor, GrayColor(GalleryValue(254, 254, 126)));
}

TEST_F(ReconViews, GalleryIsBlackWhenItsReferenceIsZero) {
    FillGalleryStack();
    GalleryMax = 0.0f;
    ShowAngleGallery();
    long visible = 0;
    for (int t = 0; t < GallerySlotCount; t++) visible += VisibleSlotPixels(t);
    EXPECT_EQ(PixelsNot(Background), visible);
    EXPECT_EQ(PictureWidth * PictureHeight - PixelsNot(ColorBlack), visible);
}

TEST_F(ReconViews, FinalImageAtTwiceItsSizeWithQUpward) {
    FillFinalImage();
    ShowReconstruction();
    long wrong = CheckFinalImage([](int x, int y) { return FakePixel(x, y); });
    EXPECT_EQ(wrong, 0);
    // The corners: [0][255] is white at the top left, [255][0] grey at the bottom right.
    for (int dy = 0; dy < 2; dy++)
        for (int dx = 0; dx < 2; dx++) {
            EXPECT_EQ(FakePixel(dx, FinalImageTop + dy), ColorWhite);
            EXPECT_EQ(FakePixel(510 + dx, 650 + dy), GrayColor(FinalCornerGray));
        }
    EXPECT_EQ(PixelsNot(Background), 512L * 512L);
    EXPECT_EQ(FakePixel(512, FinalImageTop), Background);
    EXPECT_EQ(FakePixel(0, 139), Background);
    EXPECT_EQ(FakePixel(511, 652), Background);
    EXPECT_EQ(DrawColor, GrayColor(FinalCornerGray));
}

TEST_F(ReconViews, NothingButZerosGivesBlackViews) {
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++) SliceSinogram[r][a] = 0.0f;
    for (int l = 0; l < FilterTapCount; l++) FilterTaps[l] = l % 2 ? -0.1 : 0.0;
    FilterTaps[0] = 0.25;
    ReconstructSlice('2');
    ShowAngleGallery();
    ShowReconstruction();
    EXPECT_EQ(GalleryMax, 0.0f);
    EXPECT_EQ(ReconMax, 0.0f);
    EXPECT_EQ(BackgroundLevel, 0);
    EXPECT_EQ(DisplayMax, 0.0f);
    // The final image covers part of the gallery; every pixel drawn is black.
    long drawn = PixelsOfBothViews();
    EXPECT_EQ(PixelsNot(Background), drawn);
    EXPECT_EQ(PictureWidth * PictureHeight - PixelsNot(ColorBlack), drawn);
}

}  // namespace recon_views_test
