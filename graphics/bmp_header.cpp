#include "graphics/bmp_header.h"

#include <stddef.h>
#include <string.h>

static_assert(sizeof(BmpHeader) == BmpHeaderBytes, "the headers have no gaps");
static_assert(offsetof(BmpHeader, fileBytes) == 2 && offsetof(BmpHeader, pixelsAt) == 10,
              "the file header's fields");
static_assert(offsetof(BmpHeader, infoBytes) == 14, "the information header follows at 14");
static_assert(offsetof(BmpHeader, width) == 18 && offsetof(BmpHeader, height) == 22 &&
              offsetof(BmpHeader, planes) == 26 && offsetof(BmpHeader, bitsPerPixel) == 28,
              "the information header's fields");

const int FileHeaderBytes = 14;

static void Put(unsigned char *at, unsigned long value, int bytes) {
    for (int i = 0; i < bytes; i++) at[i] = (unsigned char)((value >> (8 * i)) & 0xFF);
}

int BmpRowBytes(int width) {
    return (width * BmpBytesPerPixel + BmpRowAlignment - 1) / BmpRowAlignment * BmpRowAlignment;
}

void FillBmpHeader(BmpHeader *header, int width, int height) {
    memset(header, 0, sizeof *header);
    header->signature[0] = 'B';
    header->signature[1] = 'M';
    Put(header->fileBytes, BmpHeaderBytes + (unsigned long)BmpRowBytes(width) * (unsigned long)height, 4);
    Put(header->pixelsAt, BmpHeaderBytes, 4);
    Put(header->infoBytes, BmpHeaderBytes - FileHeaderBytes, 4);
    Put(header->width, (unsigned long)width, 4);
    Put(header->height, (unsigned long)height, 4);
    Put(header->planes, 1, 2);
    Put(header->bitsPerPixel, 8 * BmpBytesPerPixel, 2);
}
