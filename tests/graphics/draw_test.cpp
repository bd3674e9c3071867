#include "app/window_side.h"

#include <gtest/gtest.h>
#include <math.h>

#include "console/console_window.h"
#include "graphics/surface.h"
#include "support/test_windows.h"

namespace draw_test {

const COLORREF Black = RGB(0, 0, 0);
const COLORREF Red = RGB(255, 0, 0);
const COLORREF Blue = RGB(0, 0, 255);
const COLORREF Green = RGB(0, 255, 0);

class Drawing : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureWindows();
        GraphicsOpen();
        PenWidth = 1;
        SurfaceDirty = 0;
    }
    COLORREF At(int x, int y) { return GetPixel(SurfaceDC, x, y); }
};

struct PlotCase {
    const char *what;
    float value, max;
    int level;
};

const PlotCase PlotCases[] = {
    {"value equal to max is white", 300.0f, 300.0f, 255},
    {"zero is black", 0.0f, 300.0f, 0},
    {"negative is black", -1.0f, 300.0f, 0},
    {"max zero is black", 5.0f, 0.0f, 0},
    {"quotient 254.99 truncates to 254", 25499.0f, 25500.0f, 254},
    {"a middle grey", 77.0f, 255.0f, 77},
};

TEST_F(Drawing, PlotGrayDrawsAndKeepsTheGrey) {
    int x = 3;
    for (const PlotCase &c : PlotCases) {
        DrawColor = Red;  // PlotGray chooses its colour itself
        SurfaceDirty = 0;
        PlotGray(x, 7, c.value, c.max);
        COLORREF grey = RGB(c.level, c.level, c.level);
        EXPECT_EQ(At(x, 7), grey) << c.what;
        EXPECT_EQ(DrawColor, (uint32_t)grey) << c.what;
        EXPECT_EQ(SurfaceDirty, 1) << c.what;
        x += 2;
    }
    EXPECT_EQ(At(4, 7), Black) << "pixels between the plots stay untouched";
}

TEST_F(Drawing, LineAfterPlotGrayUsesThatGrey) {
    PlotGray(0, 0, 100.0f, 255.0f);
    DrawLine(10, 20, 30, 20);
    EXPECT_EQ(At(20, 20), RGB(100, 100, 100));
}

TEST_F(Drawing, LineToItselfSetsExactlyOnePixel) {
    const int widths[] = {1, 4};
    for (int width : widths) {
        ClearSurface();
        PenWidth = width;
        DrawColor = Red;
        SurfaceDirty = 0;
        DrawLine(50, 60, 50, 60);
        EXPECT_EQ(At(50, 60), Red) << "pen width " << width;
        EXPECT_EQ(CountPixelsNot(SurfaceDC, RECT{40, 50, 61, 71}, Black), 1) << "pen width " << width;
        EXPECT_EQ(SurfaceDirty, 1);
    }
}

TEST_F(Drawing, LineIncludesBothEnds) {
    DrawColor = Blue;
    DrawLine(10, 30, 20, 30);
    for (int x = 10; x <= 20; x++) EXPECT_EQ(At(x, 30), Blue) << x;
    EXPECT_EQ(At(9, 30), Black);
    EXPECT_EQ(At(21, 30), Black);
    DrawLine(100, 100, 90, 105);  // drawn backwards: the end point is the left one
    EXPECT_EQ(At(90, 105), Blue);
    EXPECT_EQ(At(100, 100), Blue);
}

TEST_F(Drawing, LineRestoresPositionAndPen) {
    MoveToEx(SurfaceDC, 321, 123, NULL);
    HGDIOBJ pen = GetCurrentObject(SurfaceDC, OBJ_PEN);
    PenWidth = 4;
    DrawColor = Green;
    DrawLine(5, 5, 200, 300);
    POINT position;
    GetCurrentPositionEx(SurfaceDC, &position);
    EXPECT_EQ(position.x, 321);
    EXPECT_EQ(position.y, 123);
    EXPECT_EQ(GetCurrentObject(SurfaceDC, OBJ_PEN), pen);
}

TEST_F(Drawing, FillBoxCoversLeftTopButNotRightBottom) {
    HGDIOBJ pen = GetCurrentObject(SurfaceDC, OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(SurfaceDC, OBJ_BRUSH);
    DrawColor = Blue;
    FillBox(100, 200, 130, 207);
    EXPECT_EQ(SurfaceDirty, 1);
    EXPECT_EQ(CountPixelsNot(SurfaceDC, RECT{100, 200, 130, 207}, Blue), 0);
    EXPECT_EQ(CountPixelsNot(SurfaceDC, RECT{90, 190, 140, 217}, Black), 30 * 7);
    EXPECT_EQ(GetCurrentObject(SurfaceDC, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(SurfaceDC, OBJ_BRUSH), brush);
}

TEST_F(Drawing, FillBoxOutlineUsesPenWidth) {
    DrawColor = Red;
    PenWidth = 1;
    FillBox(300, 300, 310, 310);
    EXPECT_EQ(At(299, 305), Black);
    PenWidth = 5;
    FillBox(400, 300, 410, 310);
    EXPECT_EQ(At(399, 305), Red) << "a wide outline reaches outside the box";
    EXPECT_EQ(At(405, 305), Red);
}

TEST_F(Drawing, ClearSurfaceBlackensEverything) {
    DrawColor = Green;
    FillBox(0, 0, 1200, 800);
    SurfaceDirty = 0;
    ClearSurface();
    EXPECT_EQ(SurfaceDirty, 1);
    EXPECT_EQ(CountPixelsNot(SurfaceDC, RECT{0, 0, 1200, 800}, Black), 0);
}

TEST_F(Drawing, LabelDrawsInColourOnBlackCellsAndKeepsItsHeight) {
    DrawColor = Green;
    FillBox(180, 140, 500, 220);
    HGDIOBJ font = GetCurrentObject(SurfaceDC, OBJ_FONT);
    DrawColor = ColorWhite;
    SurfaceDirty = 0;
    DrawLabel(200, 150, "Sinogram", 30);
    EXPECT_EQ(LabelFont->lfHeight, 30);
    EXPECT_EQ(LabelFontHandle, nullptr);
    EXPECT_EQ(SurfaceDirty, 1);
    EXPECT_EQ(GetCurrentObject(SurfaceDC, OBJ_FONT), font);
    RECT cells = {200, 150, 260, 180};
    EXPECT_GT(CountPixelsNot(SurfaceDC, cells, Black), 0);
    int white = 0, black = 0, other = 0;
    for (int y = cells.top; y < cells.bottom; y++)
        for (int x = cells.left; x < cells.right; x++) {
            COLORREF c = At(x, y);
            if (c == RGB(255, 255, 255)) white++;
            else if (c == Black) black++;
            else other++;
        }
    EXPECT_GT(white, 20) << "glyphs in the drawing colour";
    EXPECT_GT(black, 20) << "opaque black cell background";
    EXPECT_EQ(At(199, 160), Green) << "nothing left of the label";
    EXPECT_EQ(At(210, 181), Green) << "nothing below the 30-pixel cells";
}

int InkRows(RECT area) {
    int rows = 0;
    for (int y = area.top; y < area.bottom; y++)
        if (CountPixelsNot(SurfaceDC, RECT{area.left, y, area.right, y + 1}, Black) > 0) rows++;
    return rows;
}

TEST_F(Drawing, LabelHeightSetsTheCharacterHeight) {
    DrawColor = ColorWhite;
    DrawLabel(10, 10, "Hg", 30);
    DrawLabel(10, 100, "Hg", 10);
    EXPECT_EQ(LabelFont->lfHeight, 10);
    EXPECT_GT(InkRows(RECT{10, 10, 80, 60}), 15);
    EXPECT_GT(InkRows(RECT{10, 100, 80, 150}), 3);
    EXPECT_LE(InkRows(RECT{10, 100, 80, 150}), 10);
}

// ---- PumpMessage ----

int Received = 0;  // messages the counting window got

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) Received++;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CountingWindow() {
    static HWND window = NULL;
    if (window) return window;
    WNDCLASSA kind = {};
    kind.lpfnWndProc = CountingProc;
    kind.hInstance = GetModuleHandleA(NULL);
    kind.lpszClassName = "PumpCounter";
    RegisterClassA(&kind);
    window = CreateWindowA("PumpCounter", "", 0, 0, 0, 10, 10, HWND_MESSAGE, NULL, NULL, NULL);
    return window;
}

TEST(PumpMessage, HandlesOnlyTheFirstWaitingMessage) {
    EnsureWindows();
    HWND window = CountingWindow();
    DrainMessages();
    Received = 0;
    PumpMessage();
    EXPECT_EQ(Received, 0) << "an empty queue returns at once";
    PostMessageA(window, WM_USER, 0, 0);
    PostMessageA(window, WM_USER, 0, 0);
    PumpMessage();
    EXPECT_EQ(Received, 1);
    PumpMessage();
    EXPECT_EQ(Received, 2);
}

TEST(PumpMessage, ConsumesTheQuitRequest) {
    EnsureWindows();
    DrainMessages();
    PostQuitMessage(0);
    PumpMessage();
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

// The picture built through GDI alone, one SetPixelV a grey pixel: what PlotGray's
// direct stores must reproduce.
struct PlainPicture {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ kept;
};

TEST_F(Drawing, DirectPixelsEqualGdiPixelsInDrawingOrder) {
    const float values[] = {NAN, INFINITY, -INFINITY, -1.0f, -0.0f, 1e-40f, 3e38f, 254.99f, 77.5f, 300.0f};
    HDC windowDC = GetDC(GraphicsWindow);
    PlainPicture plain = {CreateCompatibleDC(windowDC), CreateCompatibleBitmap(windowDC, 1200, 800), NULL};
    ReleaseDC(GraphicsWindow, windowDC);
    plain.kept = SelectObject(plain.dc, plain.bitmap);
    RECT whole = {0, 0, 1200, 800};
    FillRect(plain.dc, &whole, (HBRUSH)GetStockObject(BLACK_BRUSH));
    // Grey pixels, some beyond the edges, mixed with GDI drawing over and under them.
    uint32_t state = 12345;
    for (int step = 0; step < 4000; step++) {
        state = state * 1103515245u + 12345u;
        int x = (int)(state >> 8) % 1210 - 5, y = (int)(state >> 4) % 810 - 5;
        float value = values[(state >> 20) % 10], max = (state >> 24) % 7 == 0 ? 0.0f : 255.0f;
        PlotGray(x, y, value, max);
        SetPixelV(plain.dc, x, y, DrawColor);
        if (step % 500 == 0) {
            DrawColor = Blue;
            FillBox(x, y, x + 40, y + 30);
            HBRUSH brush = CreateSolidBrush(Blue);
            HGDIOBJ keptBrush = SelectObject(plain.dc, brush);
            HGDIOBJ keptPen = SelectObject(plain.dc, CreatePen(PS_SOLID, 1, Blue));
            Rectangle(plain.dc, x, y, x + 40, y + 30);
            DeleteObject(SelectObject(plain.dc, keptPen));
            DeleteObject(SelectObject(plain.dc, keptBrush));
        }
    }
    int differing = 0;
    for (int y = 0; y < 800; y++)
        for (int x = 0; x < 1200; x++) differing += At(x, y) != GetPixel(plain.dc, x, y);
    EXPECT_EQ(differing, 0);
    SelectObject(plain.dc, plain.kept);
    DeleteObject(plain.bitmap);
    DeleteDC(plain.dc);
}

}  // namespace draw_test
