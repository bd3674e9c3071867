#include "teaching/projection_data.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <system_error>

#include "teaching/host_path.h"
#include "teaching/projection_resampling.h"
#include "teaching/tool_error.h"

char DataPath[DataPathBytes];
long long DataStart;
long long DataEnd;
int DataNumberKind;
int DataNumberBytes;
int DataBigEndian;
double DataScale;
long DataAxialCount;
long long DataAxialStride;
long long DataViewStride;

static unsigned char RowBytes[SourcePositionsMax * 8];   // one view's positions as stored

int CheckDataFile(const char *promise) {
    std::error_code error;
    uintmax_t size = std::filesystem::file_size(HostPath(DataPath), error);
    if (error) return Refuse("cannot open the data file %s", Printable(DataPath));
    if (size < (uintmax_t)DataEnd)
        return Refuse("the data file %s is %.0f bytes; %s promises %.0f", Printable(DataPath), (double)size, promise,
                      (double)DataEnd);
    return 1;
}

// The sample of n bytes at b, as stored.
static double Decode(const unsigned char *b) {
    int n = DataNumberBytes;
    uint64_t bits = 0;
    for (int i = 0; i < n; i++) bits |= (uint64_t)b[DataBigEndian ? i : n - 1 - i] << (8 * (n - 1 - i));
    if (DataNumberKind == NumberFloat) {
        if (n == 8) {
            double d;
            memcpy(&d, &bits, 8);
            return d;
        }
        uint32_t low = (uint32_t)bits;
        float f;
        memcpy(&f, &low, 4);
        return f;
    }
    if (DataNumberKind == NumberUnsigned) return (double)bits;
    uint64_t sign = (uint64_t)1 << (8 * n - 1);
    return (double)(int64_t)(bits ^ sign) - (double)(int64_t)sign;
}

static int SeekTo(FILE *file, long long at) {
#ifdef _WIN32
    return _fseeki64(file, at, SEEK_SET) == 0;
#else
    return fseeko(file, (off_t)at, SEEK_SET) == 0;
#endif
}

int ReadDataSinogram(long k) {
    FILE *file = fopen(DataPath, "rb");
    if (!file) return Refuse("cannot open the data file %s", Printable(DataPath));
    size_t rowBytes = (size_t)SourcePositions * DataNumberBytes;
    int ok = 1;
    for (int v = 0; v < SourceViews && ok; v++) {
        long long at = DataStart + (k * DataAxialStride + v * DataViewStride) * DataNumberBytes;
        ok = SeekTo(file, at) && fread(RowBytes, 1, rowBytes, file) == rowBytes;
        for (int p = 0; p < SourcePositions && ok; p++)
            SourceProfiles[v][p] = (float)(Decode(RowBytes + (size_t)p * DataNumberBytes) * DataScale);
    }
    fclose(file);
    if (!ok) return Refuse("cannot read the data file %s", Printable(DataPath));
    return 1;
}
