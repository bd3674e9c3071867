// The graphics window's off-screen picture: its creation, its copies to the window and
// the window's procedure.
#include "graphics/surface.h"

#include "app/window_side.h"
#include "console/console_window.h"

HDC SurfaceDC = NULL;            // memory device context holding the picture
HBITMAP SurfaceBitmap = NULL;    // the picture's bitmap; null when it could not be made
uint32_t *SurfacePixels = NULL;  // the bitmap's rows, top row first, 4 bytes a pixel, or null
int SurfaceGdiPending = 0;       // GDI drew on the picture since PlotGray last wrote to it
int SurfaceWidth = 0;            // pixels; 0 until the first GraphicsOpen
int SurfaceHeight = 0;           // pixels; 0 until the first GraphicsOpen
HFONT LabelFontHandle = NULL;    // font of the label being drawn, else null
int GraphicsShown = 0;           // the graphics window has been opened at least once
int SurfaceExists = 0;           // a picture was made and must be deleted before the next
uint32_t DrawColor = ColorBlack; // current colour, 0x00BBGGRR
int PenWidth = 1;                // line width of lines and box outlines, pixels
int SurfaceDirty = 0;            // the picture changed since it was last copied to the window

const int LabelStartHeight = 10;      // label character height after GraphicsOpen, pixels
const int NormalWeight = 400;         // FW_NORMAL
const WORD SurfaceBitsPerPixel = 32;  // one aligned word a pixel, written directly by PlotGray

// Copies the picture to a context of the window. Without a bitmap the memory context
// holds no image, so the window is shown black rather than whatever the copy yields.
static void CopySurfaceTo(HDC windowDC) {
    if (SurfaceBitmap == NULL) {
        RECT whole = {0, 0, SurfaceWidth, SurfaceHeight};
        FillRect(windowDC, &whole, (HBRUSH)GetStockObject(BLACK_BRUSH));
        return;
    }
    BitBlt(windowDC, 0, 0, SurfaceWidth, SurfaceHeight, SurfaceDC, 0, 0, SRCCOPY);
}

static void DeleteSurface() {
    if (SurfaceDC != NULL) DeleteDC(SurfaceDC);
    if (SurfaceBitmap != NULL) DeleteObject(SurfaceBitmap);
    SurfaceDC = NULL;
    SurfaceBitmap = NULL;
    SurfacePixels = NULL;
    SurfaceExists = 0;
}

static void SetLabelFontFields() {
    if (LabelFont == NULL) return;
    LabelFont->lfHeight = LabelStartHeight;
    LabelFont->lfWidth = 0;
    LabelFont->lfEscapement = 0;
    LabelFont->lfWeight = NormalWeight;
    LabelFont->lfItalic = 0;
    LabelFont->lfUnderline = 0;
    LabelFont->lfCharSet = SHIFTJIS_CHARSET;
    lstrcpyA(LabelFont->lfFaceName, GothicFaceName);
}

// A top-down 32-bit section rather than a bitmap of the display's format: its rows
// lie in our memory, so PlotGray, which makes millions of pixels a picture, stores
// each one directly instead of calling GDI for it. Lines, boxes and text still go
// through GDI, which draws on the same rows.
static HBITMAP CreateSurfaceBitmap(HDC windowDC) {
    BITMAPINFO info;
    ZeroMemory(&info, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = SurfaceWidth;
    info.bmiHeader.biHeight = -SurfaceHeight;  // negative: the top row comes first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = SurfaceBitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HBITMAP bitmap = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (bitmap == NULL || bits == NULL) {
        if (bitmap != NULL) DeleteObject(bitmap);
        return NULL;
    }
    SurfacePixels = (uint32_t *)bits;
    return bitmap;
}

void GraphicsOpen() {
    DrawColor = ColorWhite;
    SetClassLongPtrA(GraphicsWindow, GCLP_HBRBACKGROUND, (LONG_PTR)GetStockObject(BLACK_BRUSH));
    SurfaceWidth = PictureWidth;
    SurfaceHeight = PictureHeight;

    // The first call learns the frame's size; the second adds it, so the client area
    // is exactly the picture's size whatever the frame.
    const UINT sizeOnly = SWP_NOMOVE | SWP_NOZORDER;
    SetWindowPos(GraphicsWindow, NULL, 0, 0, SurfaceWidth, SurfaceHeight, sizeOnly);
    RECT client;
    GetClientRect(GraphicsWindow, &client);
    SetWindowPos(GraphicsWindow, NULL, 0, 0, 2 * SurfaceWidth - client.right,
                 2 * SurfaceHeight - client.bottom, sizeOnly);

    if (SurfaceExists) DeleteSurface();

    // The class gives the window its own context, which is never released.
    HDC windowDC = GetDC(GraphicsWindow);
    SurfaceBitmap = CreateSurfaceBitmap(windowDC);
    if (SurfaceBitmap == NULL) ShowMessage("Failed Graphic window");
    SurfaceDC = CreateCompatibleDC(windowDC);
    if (SurfaceBitmap != NULL) SelectObject(SurfaceDC, SurfaceBitmap);
    ClearSurface();
    SetBkColor(SurfaceDC, ColorBlack);

    SetLabelFontFields();
    SurfaceDirty = 1;
    SurfaceExists = 1;
    GraphicsShown = 1;
    ShowWindow(GraphicsWindow, SW_RESTORE);
}

void GraphicsFlush() {
    if (GraphicsWindow == NULL) return;  // a null window would mean the whole screen
    SurfaceDirty = 0;
    HDC windowDC = GetDC(GraphicsWindow);
    CopySurfaceTo(windowDC);
    ReleaseDC(GraphicsWindow, windowDC);
}

void RefreshSurface() {
    if (SurfaceDirty) GraphicsFlush();
}

LRESULT CALLBACK GraphicsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC paintDC = BeginPaint(window, &paint);
        CopySurfaceTo(paintDC);
        EndPaint(window, &paint);
        SurfaceDirty = 0;
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) DestroyWindow(ConsoleWindow);
        break;
    case WM_DESTROY:
        DeleteSurface();
        if (LabelFontHandle != NULL) DeleteObject(LabelFontHandle);
        LabelFontHandle = NULL;
        PostQuitMessage(0);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
