#include "teaching/png_picture.h"

#include <stdio.h>

#include "teaching/file_replacement.h"
#include "teaching/picture_projection.h"
#include "teaching/tool_error.h"

// The encoder writes through a callback only, so every byte goes through the safe
// replacement like the tool's other outputs.
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

static FILE *PngFile;   // the file being written
static int PngWritten;  // 1 while every byte has gone into it

static void WritePngBytes(void *, void *data, int size) {
    if (PngWritten && fwrite(data, 1, (size_t)size, PngFile) != (size_t)size) PngWritten = 0;
}

int WriteGreyPng(const char *path, const unsigned char *greys, int width, int rows) {
    FILE *file = BeginReplacing(path);
    if (!file) return 0;
    PngFile = file, PngWritten = 1;
    int encoded = stbi_write_png_to_func(WritePngBytes, nullptr, width, rows, 1, greys, width);
    int ok = encoded && PngWritten;
    if (!FinishReplacing(path, file, ok)) return ok ? 0 : Refuse("cannot write %s (is there room?)", Printable(path));
    return 1;
}
