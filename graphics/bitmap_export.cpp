// Saving the picture as an uncompressed 24-bit bottom-up BMP file: a 14-byte file
// header, the 40-byte information header, then the rows from the bottom one up.
#include "graphics/bitmap_export.h"

#include <windows.h>

#include "app/window_side.h"
#include "console/console_window.h"
#include "graphics/bmp_header.h"
#include "graphics/safe_save.h"
#include "graphics/surface.h"

static_assert(sizeof(BITMAPINFOHEADER) == BmpHeaderBytes - 14, "the section's header is the file's");

// Writes all of the bytes or reports that it could not.
static bool WriteAll(HANDLE file, const void *bytes, DWORD count) {
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, NULL) && written == count;
}

static void FillInfoHeader(BITMAPINFOHEADER *info) {
    ZeroMemory(info, sizeof *info);
    info->biSize = sizeof *info;
    info->biWidth = SurfaceWidth;
    info->biHeight = SurfaceHeight;  // positive: rows are stored bottom-up
    info->biPlanes = 1;
    info->biBitCount = 8 * BmpBytesPerPixel;
    info->biCompression = BI_RGB;
}

// Copies the picture into the section's 24-bit rows. Without a bitmap the picture is
// black, as the window shows it, and the zeroed section already says so.
static void CopySurfaceInto(HBITMAP section) {
    if (SurfaceBitmap == NULL) return;
    HDC windowDC = GetDC(GraphicsWindow);
    HDC copyDC = CreateCompatibleDC(windowDC);
    HGDIOBJ kept = SelectObject(copyDC, section);
    BitBlt(copyDC, 0, 0, SurfaceWidth, SurfaceHeight, SurfaceDC, 0, 0, SRCCOPY);
    SelectObject(copyDC, kept);
    ReleaseDC(GraphicsWindow, windowDC);
    DeleteDC(copyDC);
    GdiFlush();  // the copy must be finished before the rows are read directly
}

// Writes the headers and the rows to a fresh file that then replaces the one at path;
// a failure leaves a file already there as it was.
static bool WriteBitmapFile(const char *path, const BITMAPINFOHEADER *info,
                            const void *pixels, DWORD pixelBytes) {
    HANDLE file = INVALID_HANDLE_VALUE;
    if (BeginReplacement(path)) {
        file = CreateFileA(ReplacementPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE) FinishReplacement(path, 0);
    }
    if (file == INVALID_HANDLE_VALUE) {
        ShowMessage("%s", SaveFailedMessage);
        return false;
    }
    BmpHeader header;
    FillBmpHeader(&header, info->biWidth, info->biHeight);
    bool written = WriteAll(file, &header, sizeof header) && WriteAll(file, pixels, pixelBytes);
    if (!CloseHandle(file)) written = false;
    if (!FinishReplacement(path, written)) {
        ShowMessage("Failed to save");
        return false;
    }
    return true;
}

bool ExportBitmap(const char *path) {
    HGLOBAL infoBlock = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER *info = NULL;
    if (infoBlock != NULL) info = (BITMAPINFOHEADER *)GlobalLock(infoBlock);
    if (info == NULL) {
        if (infoBlock != NULL) GlobalFree(infoBlock);
        ShowMessage("Failed to save");
        return false;
    }
    FillInfoHeader(info);
    DWORD pixelBytes = (DWORD)BmpRowBytes(SurfaceWidth) * (DWORD)SurfaceHeight;

    void *pixels = NULL;
    HBITMAP section = CreateDIBSection(SurfaceDC, (BITMAPINFO *)info, DIB_RGB_COLORS, &pixels,
                                       NULL, 0);
    bool saved = false;
    if (section == NULL || pixels == NULL) {
        ShowMessage("Failed to save");  // there are no rows to write
    } else {
        CopySurfaceInto(section);
        saved = WriteBitmapFile(path, info, pixels, pixelBytes);
    }
    if (section != NULL) DeleteObject(section);
    GlobalUnlock(infoBlock);
    GlobalFree(infoBlock);
    return saved;
}
