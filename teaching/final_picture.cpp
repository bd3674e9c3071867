#include "teaching/final_picture.h"

#include <stdio.h>

#include "teaching/file_replacement.h"
#include "graphics/bmp_header.h"
#include "graphics/gray_level.h"

float ShownSlice[ImageSide][ImageSide];

const int RowBytes = PictureWidth * BmpBytesPerPixel;
static_assert(RowBytes % BmpRowAlignment == 0, "rows need no padding");
static unsigned char Greys[ImageSide][ImageSide];   // [P][Q] grey of each sample
static unsigned char Row[RowBytes];                 // one picture row, blue green red

// The program's final image: the background, a share of the peak cut to a whole number
// there, is subtracted here exactly, whatever the slice's unit.
static void MakeGreys() {
    float peak = 0.0f, shownPeak = 0.0f;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (ShownSlice[p][q] > peak) peak = ShownSlice[p][q];
    float background = (float)(peak * BackgroundShare);
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (ShownSlice[p][q] - background > shownPeak) shownPeak = ShownSlice[p][q] - background;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) Greys[p][q] = (unsigned char)GrayLevel(ShownSlice[p][q] - background, shownPeak);
}

int WritePictureHeader(FILE *file) {
    BmpHeader header;
    FillBmpHeader(&header, PictureWidth, PictureHeight);
    return fwrite(&header, 1, sizeof header, file) == sizeof header;
}

int WriteFinalPictureTo(FILE *file) {
    MakeGreys();
    int ok = WritePictureHeader(file);
    for (int y = PictureHeight - 1; y >= 0 && ok; y--) {
        int i = (y - FinalImageTop) / FinalImageScale;
        for (int x = 0; x < PictureWidth; x++) {
            int p = (x - FinalImageLeft) / FinalImageScale;
            int inside = y >= FinalImageTop && i < ImageSide && x >= FinalImageLeft && p < ImageSide;
            unsigned char grey = inside ? Greys[p][ImageSide - 1 - i] : 0;
            Row[3 * x] = Row[3 * x + 1] = Row[3 * x + 2] = grey;
        }
        ok = fwrite(Row, 1, RowBytes, file) == (size_t)RowBytes;
    }
    return ok;
}

int WriteFinalPicture(const char *path) { return WriteFileWith(path, WriteFinalPictureTo); }
