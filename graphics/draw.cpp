// The drawing primitives: each draws into the off-screen picture and marks it changed;
// none touches the window, which the refresh timer or GraphicsFlush updates.
#include "app/window_side.h"

#include "console/console_window.h"
#include "graphics/gray_level.h"
#include "graphics/surface.h"

const uint32_t GrayToColor = 0x00010101u;  // one grey level in each of red, green and blue

// The pixel goes straight into the bitmap's memory. A grey has equal red, green and
// blue, so the section's 0x00RRGGBB words hold it as DrawColor's 0x00BBGGRR does.
// GDI may still hold drawing of its own back; it is flushed first so that the two
// reach the rows in the order they were made.
void PlotGray(int x, int y, float value, float max) {
    DrawColor = (uint32_t)GrayLevel(value, max) * GrayToColor;
    if (SurfacePixels != NULL && x >= 0 && y >= 0 && x < SurfaceWidth && y < SurfaceHeight) {
        if (SurfaceGdiPending) {
            GdiFlush();
            SurfaceGdiPending = 0;
        }
        SurfacePixels[y * SurfaceWidth + x] = DrawColor;
    }
    SurfaceDirty = 1;
}

void DrawLine(int x0, int y0, int x1, int y1) {
    HPEN pen = CreatePen(PS_SOLID, PenWidth, DrawColor);
    HGDIOBJ keptPen = SelectObject(SurfaceDC, pen);
    POINT keptPosition = {0, 0};  // stays the origin if the picture has no context
    MoveToEx(SurfaceDC, x0, y0, &keptPosition);
    // A line of no length is its end pixel alone; a wide pen would leave a dot there.
    if (x0 != x1 || y0 != y1) LineTo(SurfaceDC, x1, y1);
    // LineTo leaves the end point out; it is always one pixel, whatever the pen width.
    SetPixelV(SurfaceDC, x1, y1, DrawColor);
    MoveToEx(SurfaceDC, keptPosition.x, keptPosition.y, NULL);
    SelectObject(SurfaceDC, keptPen);
    DeleteObject(pen);
    SurfaceGdiPending = 1;
    SurfaceDirty = 1;
}

void FillBox(int left, int top, int right, int bottom) {
    HPEN pen = CreatePen(PS_SOLID, PenWidth, DrawColor);
    HBRUSH brush = CreateSolidBrush(DrawColor);
    HGDIOBJ keptPen = SelectObject(SurfaceDC, pen);
    HGDIOBJ keptBrush = SelectObject(SurfaceDC, brush);
    Rectangle(SurfaceDC, left, top, right, bottom);
    SelectObject(SurfaceDC, keptPen);
    SelectObject(SurfaceDC, keptBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    SurfaceGdiPending = 1;
    SurfaceDirty = 1;
}

void DrawLabel(int x, int y, const char *text, int height) {
    if (LabelFont != NULL) {
        // The height stays in the description for the labels that follow.
        LabelFont->lfHeight = height;
        LabelFontHandle = CreateFontIndirectA(LabelFont);
    }
    // Without a font of its own the label is written in the context's current font.
    HGDIOBJ keptFont = NULL;
    if (LabelFontHandle != NULL) keptFont = SelectObject(SurfaceDC, LabelFontHandle);
    SetTextColor(SurfaceDC, DrawColor);
    TextOutA(SurfaceDC, x, y, text, lstrlenA(text));
    if (LabelFontHandle != NULL) {
        SelectObject(SurfaceDC, keptFont);
        DeleteObject(LabelFontHandle);
        LabelFontHandle = NULL;
    }
    SurfaceGdiPending = 1;
    SurfaceDirty = 1;
}

void ClearSurface() {
    RECT whole = {0, 0, SurfaceWidth, SurfaceHeight};
    FillRect(SurfaceDC, &whole, (HBRUSH)GetStockObject(BLACK_BRUSH));
    SurfaceGdiPending = 1;
    SurfaceDirty = 1;
}
