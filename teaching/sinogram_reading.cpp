#include "teaching/sinogram_reading.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <system_error>

#include "teaching/host_path.h"
#include "teaching/tool_error.h"
#include "recon/sinogram_file.h"

static unsigned char SliceBytes[SinogramSliceBytes];   // the slice as stored

int ReadSinogramSlice(const char *path, int s, float slice[Angles][Bins]) {
    std::error_code error;
    uintmax_t size = std::filesystem::file_size(HostPath(path), error);
    if (error) return Refuse("cannot open %s", path);
    if (size < (uintmax_t)SinogramFileBytes)
        return Refuse("%s is %.0f bytes; a sinogram volume is %ld", path, (double)size, SinogramFileBytes);
    FILE *file = fopen(path, "rb");
    if (!file) return Refuse("cannot open %s", path);
    int ok = fseek(file, SinogramHeaderBytes + s * SinogramSliceBytes, SEEK_SET) == 0 &&
             fread(SliceBytes, 1, sizeof SliceBytes, file) == sizeof SliceBytes;
    fclose(file);
    if (!ok) return Refuse("cannot read %s", path);
    for (int a = 0; a < Angles; a++)
        for (int r = 0; r < Bins; r++) {
            const unsigned char *b = SliceBytes + 4 * (a * Bins + r);
            uint32_t bits = b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
            memcpy(&slice[a][r], &bits, 4);
        }
    return 1;
}
