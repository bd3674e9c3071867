#include "teaching/grey_picture.h"

#include <stdio.h>

#include "teaching/file_replacement.h"
#include "graphics/bmp_header.h"
#include "teaching/picture_projection.h"
#include "teaching/tool_error.h"

const int RowBytes = ImageSide * BmpBytesPerPixel;
static_assert(RowBytes % 4 == 0, "BMP rows need no padding");
static unsigned char Line[RowBytes];   // one row, blue green red

int WriteGreyPicture(const char *path, const unsigned char greys[][ImageSide], int rows) {
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    BmpHeader header;
    FillBmpHeader(&header, ImageSide, rows);
    int ok = fwrite(&header, 1, sizeof header, file) == sizeof header;
    for (int row = rows - 1; row >= 0 && ok; row--) {
        for (int x = 0; x < ImageSide; x++) Line[3 * x] = Line[3 * x + 1] = Line[3 * x + 2] = greys[row][x];
        ok = fwrite(Line, 1, RowBytes, file) == (size_t)RowBytes;
    }
    if (!FinishReplacing(path, file, ok)) return ok ? 0 : Refuse("cannot write %s (is there room?)", Printable(path));
    return 1;
}

unsigned char GreyBetween(double value, double low, double high) {
    double share = high > low ? (value - low) / (high - low) : 0.0;
    if (!(share > 0.0)) return 0;
    if (share >= 1.0) return 255;
    return (unsigned char)(share * 255.0 + 0.5);
}

void ImageGreysOf(const double image[ImageSide][ImageSide], double low, double high, unsigned char greys[][ImageSide]) {
    for (int row = 0; row < ImageSide; row++)
        for (int p = 0; p < ImageSide; p++) {
            int q = ImageSide - 1 - row;
            double x = p - RotationCentre, y = q - RotationCentre;
            greys[row][p] = x * x + y * y <= FieldRadius * FieldRadius ? GreyBetween(image[p][q], low, high) : 0;
        }
}
