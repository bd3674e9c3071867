#include "tools/icon/icon_file.h"

#include <stdio.h>

#include "tools/icon/icon_picture.h"

const int IconSizes[IconSizeCount] = {16, 24, 32, 48, 256};

const int DirectoryBytes = 6;      // reserved, type 1 (icon), image count
const int EntryBytes = 16;         // one image's size, colours, planes, bits, length, offset
const int InfoHeaderBytes = 40;    // the bitmap's information header
const int MaxImageBytes = InfoHeaderBytes + IconMaxSide * IconMaxSide * 4 + IconMaxSide / 8 * IconMaxSide;
static unsigned char ImageBytes[MaxImageBytes];   // one image as written
static_assert(MaxImageBytes == 40 + 262144 + 8192, "largest image: header, pixels, mask");

static void Put16(unsigned char *at, int value) {
    at[0] = (unsigned char)(value & 0xFF);
    at[1] = (unsigned char)((value >> 8) & 0xFF);
}

static void Put32(unsigned char *at, long value) {
    for (int i = 0; i < 4; i++) at[i] = (unsigned char)((value >> (8 * i)) & 0xFF);
}

// Mask rows are padded to whole 32-bit words.
static int MaskStride(int side) { return (side + 31) / 32 * 4; }

static int ImageLength(int side) { return InfoHeaderBytes + side * side * 4 + MaskStride(side) * side; }

// Header, pixels bottom row first, then the mask (a set bit: transparent), from IconPixels.
static void EncodeImage(int side) {
    for (int i = 0; i < MaxImageBytes; i++) ImageBytes[i] = 0;
    Put32(ImageBytes, InfoHeaderBytes);
    Put32(ImageBytes + 4, side);
    Put32(ImageBytes + 8, 2L * side);   // the pixels and the mask, stacked
    Put16(ImageBytes + 12, 1);          // planes
    Put16(ImageBytes + 14, 32);         // bits per pixel
    Put32(ImageBytes + 20, ImageLength(side) - InfoHeaderBytes);
    unsigned char *pixels = ImageBytes + InfoHeaderBytes;
    unsigned char *mask = pixels + side * side * 4;
    for (int row = 0; row < side; row++) {
        int up = side - 1 - row;
        for (int column = 0; column < side; column++) {
            for (int c = 0; c < 4; c++) pixels[(up * side + column) * 4 + c] = IconPixels[row][column][c];
            if (IconPixels[row][column][3] == 0)
                mask[up * MaskStride(side) + column / 8] |= (unsigned char)(0x80 >> (column % 8));
        }
    }
}

int WriteIconFile(const char *path) {
    FILE *file = fopen(path, "wb");
    if (!file) return 0;
    unsigned char head[DirectoryBytes + IconSizeCount * EntryBytes] = {};
    Put16(head + 2, 1);
    Put16(head + 4, IconSizeCount);
    long offset = sizeof head;
    for (int i = 0; i < IconSizeCount; i++) {
        unsigned char *entry = head + DirectoryBytes + i * EntryBytes;
        int side = IconSizes[i];
        entry[0] = entry[1] = (unsigned char)(side == 256 ? 0 : side);   // 0 stands for 256
        Put16(entry + 4, 1);
        Put16(entry + 6, 32);
        Put32(entry + 8, ImageLength(side));
        Put32(entry + 12, offset);
        offset += ImageLength(side);
    }
    int ok = fwrite(head, 1, sizeof head, file) == sizeof head;
    for (int i = 0; i < IconSizeCount && ok; i++) {
        DrawIcon(IconSizes[i]);
        EncodeImage(IconSizes[i]);
        size_t length = (size_t)ImageLength(IconSizes[i]);
        ok = fwrite(ImageBytes, 1, length, file) == length;
    }
    if (fclose(file) != 0) ok = 0;
    return ok;
}
