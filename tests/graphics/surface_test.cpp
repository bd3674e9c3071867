#include "graphics/surface.h"

#include <gtest/gtest.h>
#include <string.h>

#include "console/console_window.h"
#include "support/test_windows.h"

namespace surface_test {

namespace {

const RECT WholeSurface = {0, 0, PictureWidth, PictureHeight};

// A pixel of the picture window as the screen shows it; CLR_INVALID when another window
// covers it. The tests that read it first show the window uncovered.
COLORREF WindowPixel(int x, int y) {
    if (!Uncovered(GraphicsWindow)) return CLR_INVALID;
    HDC dc = GetDC(GraphicsWindow);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(GraphicsWindow, dc);
    return color;
}

void ExpectFreshSurface() {
    RECT client;
    GetClientRect(GraphicsWindow, &client);
    EXPECT_EQ(client.right, 1200);
    EXPECT_EQ(client.bottom, 800);
    EXPECT_TRUE(IsWindowVisible(GraphicsWindow));
    EXPECT_FALSE(IsIconic(GraphicsWindow));
    EXPECT_EQ(SurfaceWidth, 1200);
    EXPECT_EQ(SurfaceHeight, 800);
    EXPECT_EQ(CountPixelsNot(SurfaceDC, WholeSurface, RGB(0, 0, 0)), 0);
    EXPECT_EQ(DrawColor, ColorWhite);
    EXPECT_EQ(SurfaceDirty, 1);
    EXPECT_EQ(GraphicsShown, 1);
    EXPECT_EQ(GetBkColor(SurfaceDC), RGB(0, 0, 0));
    EXPECT_EQ(GetBkMode(SurfaceDC), OPAQUE);
    ASSERT_NE(LabelFont, nullptr);
    EXPECT_EQ(LabelFont->lfHeight, 10);
    EXPECT_EQ(LabelFont->lfWidth, 0);
    EXPECT_EQ(LabelFont->lfWeight, 400);
    EXPECT_EQ(LabelFont->lfCharSet, 128);
    EXPECT_EQ(LabelFont->lfItalic, 0);
    EXPECT_EQ(LabelFont->lfOutPrecision, 0);
    EXPECT_STREQ(LabelFont->lfFaceName, "\x95\x57\x8f\x80\x83\x53\x83\x56\x83\x62\x83\x4e");
}

TEST(GraphicsOpen, ShowsBlackPictureWithExactClientArea) {
    EnsureWindows();
    ASSERT_NE(GraphicsWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(GraphicsWindow));
    EXPECT_EQ(GraphicsShown, 0);
    PenWidth = 3;
    GraphicsOpen();
    ExpectFreshSurface();
    EXPECT_EQ(PenWidth, 3);
}

TEST(GraphicsOpen, AgainAfterDrawingGivesFreshPicture) {
    EnsureWindows();
    GraphicsOpen();
    DrawColor = RGB(200, 10, 30);
    PenWidth = 2;
    FillBox(10, 10, 1190, 790);
    DrawLabel(50, 50, "Label", 30);
    // A minimised window is restored, and a resized one gets its size back.
    ShowWindow(GraphicsWindow, SW_MINIMIZE);
    GraphicsOpen();
    ExpectFreshSurface();
    EXPECT_EQ(PenWidth, 2);
    PenWidth = 1;
}

TEST(GraphicsCopies, FlushCopiesEvenWhenClean) {
    EnsureWindows();
    GraphicsOpen();
    ASSERT_TRUE(ShowUncovered(GraphicsWindow));
    GraphicsFlush();
    EXPECT_EQ(SurfaceDirty, 0);
    EXPECT_EQ(WindowPixel(5, 5), RGB(0, 0, 0));
    PlotGray(5, 5, 1.0f, 1.0f);
    SurfaceDirty = 0;
    GraphicsFlush();
    EXPECT_EQ(WindowPixel(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(SurfaceDirty, 0);
}

TEST(GraphicsCopies, RefreshCopiesOnlyWhenDirty) {
    EnsureWindows();
    GraphicsOpen();
    ASSERT_TRUE(ShowUncovered(GraphicsWindow));
    GraphicsFlush();
    PlotGray(8, 9, 1.0f, 1.0f);
    SurfaceDirty = 0;
    RefreshSurface();
    EXPECT_EQ(WindowPixel(8, 9), RGB(0, 0, 0)) << "a clean picture must not be copied";
    SurfaceDirty = 1;
    RefreshSurface();
    EXPECT_EQ(WindowPixel(8, 9), RGB(255, 255, 255));
    EXPECT_EQ(SurfaceDirty, 0);
}

TEST(GraphicsCopies, PaintShowsThePicture) {
    EnsureWindows();
    GraphicsOpen();
    ASSERT_TRUE(ShowUncovered(GraphicsWindow));
    GraphicsFlush();
    PlotGray(1199, 799, 1.0f, 2.0f);
    EXPECT_EQ(SurfaceDirty, 1);
    InvalidateRect(GraphicsWindow, NULL, FALSE);
    UpdateWindow(GraphicsWindow);
    EXPECT_EQ(WindowPixel(1199, 799), RGB(127, 127, 127));
    EXPECT_EQ(WindowPixel(1198, 799), RGB(0, 0, 0));
    EXPECT_EQ(SurfaceDirty, 0);
}

TEST(GraphicsCopies, WithoutBitmapTheWindowShowsBlack) {
    EnsureWindows();
    GraphicsOpen();
    ASSERT_TRUE(ShowUncovered(GraphicsWindow));
    PlotGray(20, 30, 1.0f, 1.0f);
    GraphicsFlush();
    ASSERT_EQ(WindowPixel(20, 30), RGB(255, 255, 255));
    HBITMAP made = SurfaceBitmap;
    SurfaceBitmap = NULL;  // as after a failed creation: the context holds no usable image
    GraphicsFlush();
    SurfaceBitmap = made;
    EXPECT_EQ(WindowPixel(20, 30), RGB(0, 0, 0));
}

TEST(GraphicsWindowKeys, OtherKeysLeaveTheProgramRunning) {
    EnsureWindows();
    GraphicsOpen();
    SendMessageA(GraphicsWindow, WM_KEYDOWN, 'A', 1);
    SendMessageA(GraphicsWindow, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(IsWindow(ConsoleWindow));
    EXPECT_TRUE(IsWindow(GraphicsWindow));
}

}  // namespace

}  // namespace surface_test
