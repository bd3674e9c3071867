#include "graphics/memory_picture.h"

uint32_t MemoryPixels[PictureHeight][PictureWidth];

const int WidthMax = 64;   // widest line drawn as wide; beyond it the square stops growing

void MemoryFill(uint32_t color) {
    for (int y = 0; y < PictureHeight; y++)
        for (int x = 0; x < PictureWidth; x++) MemoryPixels[y][x] = color;
}

void MemoryPlot(int x, int y, uint32_t color) {
    if (x < 0 || y < 0 || x >= PictureWidth || y >= PictureHeight) return;
    MemoryPixels[y][x] = color;
}

static void PlotSquare(int x, int y, uint32_t color, int width) {
    int from = -(width - 1) / 2;
    for (int dy = from; dy < from + width; dy++)
        for (int dx = from; dx < from + width; dx++) MemoryPlot(x + dx, y + dy, color);
}

void MemoryLine(int x0, int y0, int x1, int y1, uint32_t color, int width) {
    if (width < 1) width = 1;
    if (width > WidthMax) width = WidthMax;
    // In 64 bits: the ends may lie anywhere an int reaches.
    long long dx = x1 > x0 ? (long long)x1 - x0 : (long long)x0 - x1;
    long long dy = y1 > y0 ? (long long)y0 - y1 : (long long)y1 - y0;
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    long long err = dx + dy;
    for (int x = x0, y = y0;;) {
        PlotSquare(x, y, color, width);
        if (x == x1 && y == y1) break;
        long long e2 = 2 * err;
        if (e2 >= dy) { err += dy; x += sx; }
        if (e2 <= dx) { err += dx; y += sy; }
    }
}

void MemoryBox(int left, int top, int right, int bottom, uint32_t color) {
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (right > PictureWidth) right = PictureWidth;
    if (bottom > PictureHeight) bottom = PictureHeight;
    for (int y = top; y < bottom; y++)
        for (int x = left; x < right; x++) MemoryPixels[y][x] = color;
}
