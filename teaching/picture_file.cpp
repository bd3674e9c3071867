#include "teaching/picture_file.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include "teaching/tool_error.h"

float PictureLevel[PictureRowsMax][PictureColumnsMax];
int PictureColumns;
int PictureRows;
double PictureWhite;
unsigned char PictureTinted[PictureRowsMax][PictureColumnsMax];

const int PgmTokenBytes = 32;              // longest header number or magic, with its zero
const int BmpFileHeaderBytes = 14;
const int BmpInfoBytesMin = 40;            // BITMAPINFOHEADER; later versions only add fields
const int BmpPaletteEntries = 256;
const int RowBytesMax = PictureColumnsMax * 3 + 4;  // a 24-bit row with its padding, or 16-bit PGM
static unsigned char RowBuffer[RowBytesMax];        // one row as stored in the file
static unsigned char BmpHeader[BmpFileHeaderBytes + BmpInfoBytesMin];
static double PaletteGrey[BmpPaletteEntries];        // grey level of each palette entry
static unsigned char PaletteTinted[BmpPaletteEntries];  // 1 where the entry is not grey

double GreyOfColour(int red, int green, int blue) {
    return (299.0 * red + 587.0 * green + 114.0 * blue) / 1000.0;
}

// Sizes as the file states them, 64 bits wide, so that no stated size is misreported.
static int FitsOrRefuse(const char *path, long long columns, long long rows, int maxColumns, int maxRows,
                        const char *holder) {
    if (columns <= 0 || rows <= 0) return Refuse("%s has no pixels (%lld x %lld)", path, columns, rows);
    if (columns > maxColumns || rows > maxRows)
        return Refuse("%s is %lld x %lld pixels; %s holds at most %d x %d", path, columns, rows,
                      holder, maxColumns, maxRows);
    PictureColumns = (int)columns;
    PictureRows = (int)rows;
    return 1;
}

// ---- PGM ----

// The next header token, skipping white space and comments from '#' to the line's end.
static int PgmToken(FILE *file, char token[PgmTokenBytes]) {
    int c = fgetc(file);
    for (;;) {
        while (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f') c = fgetc(file);
        if (c != '#') break;
        while (c != EOF && c != '\n' && c != '\r') c = fgetc(file);
    }
    int n = 0;
    while (c != EOF && c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f' &&
           c != '#') {
        if (n < PgmTokenBytes - 1) token[n++] = (char)c;
        c = fgetc(file);
    }
    token[n] = 0;
    // Binary samples start after exactly one white-space character, the one just read.
    if (c == '#') ungetc(c, file);
    return n > 0;
}

// A decimal number; leading zeros count for nothing, and anything past 9 digits is
// refused as too large anyway.
const long PgmNumberMax = 999999999;
static long PgmNumber(const char *token) {
    long value = 0;
    int digits = 0;   // significant ones
    for (const char *p = token; *p; ++p) {
        if (*p < '0' || *p > '9') return -1;
        if (value == 0 && *p == '0') continue;
        if (++digits > 9) return PgmNumberMax;
        value = value * 10 + (*p - '0');
    }
    return *token ? value : -1;
}

static int ReadPgm(FILE *file, const char *path, int binary, int maxColumns, int maxRows,
                   const char *holder) {
    char token[PgmTokenBytes];
    long size[3];   // width, height, largest value
    for (int i = 0; i < 3; i++) {
        size[i] = PgmToken(file, token) ? PgmNumber(token) : -1;
        if (size[i] < 0) return Refuse("%s: the PGM header is damaged (it needs width, height and largest value)", path);
    }
    if (size[2] < 1 || size[2] > 65535)
        return Refuse("%s: the PGM's largest value is %s%ld; 1 to 65535 are allowed", path,
                      size[2] == PgmNumberMax ? "more than " : "", size[2]);
    if (!FitsOrRefuse(path, size[0], size[1], maxColumns, maxRows, holder)) return 0;
    PictureWhite = (double)size[2];
    int bytes = size[2] > 255 ? 2 : 1;
    for (int row = 0; row < PictureRows; row++) {
        if (binary) {
            size_t need = (size_t)PictureColumns * bytes;
            if (fread(RowBuffer, 1, need, file) != need)
                return Refuse("%s ends early, in row %d of %d", path, row + 1, PictureRows);
        }
        for (int column = 0; column < PictureColumns; column++) {
            long value;
            if (binary) {
                value = bytes == 2 ? RowBuffer[2 * column] * 256L + RowBuffer[2 * column + 1] : RowBuffer[column];
            } else {
                if (!PgmToken(file, token))
                    return Refuse("%s ends early, in row %d of %d", path, row + 1, PictureRows);
                value = PgmNumber(token);
                if (value < 0) return Refuse("%s: \"%s\" in row %d is not a grey level", path, token, row + 1);
            }
            if (value > size[2])
                return Refuse("%s: level %ld in row %d is above the largest value %ld", path, value, row + 1, size[2]);
            PictureLevel[row][column] = (float)value;
        }
    }
    return 1;
}

// ---- BMP ----

static long Little(const unsigned char *bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; i--) value = value << 8 | bytes[i];
    if (count == 4) return (long)(int32_t)value;   // the fields read as 4 bytes are signed
    return (long)value;
}

static int ReadBmp(FILE *file, const char *path, int maxColumns, int maxRows, const char *holder) {
    if (fread(BmpHeader, 1, sizeof BmpHeader, file) != sizeof BmpHeader)
        return Refuse("%s ends inside its BMP header", path);
    const unsigned char *info = BmpHeader + BmpFileHeaderBytes;
    long pixelOffset = Little(BmpHeader + 10, 4);
    long infoBytes = Little(info, 4);
    long long width = Little(info + 4, 4), height = Little(info + 8, 4);
    long bits = Little(info + 14, 2), compression = Little(info + 16, 4);
    long paletteUsed = Little(info + 32, 4);
    if (infoBytes < BmpInfoBytesMin || infoBytes > 1024)
        return Refuse("%s: this BMP header (%ld bytes) is not read; save it as a Windows BMP", path, infoBytes);
    if (bits != 8 && bits != 24)
        return Refuse("%s has %ld bits per pixel; 8-bit grey and 24-bit colour BMPs are read", path, bits);
    if (compression != 0)
        return Refuse("%s is compressed; save it as an uncompressed BMP", path);
    int topDown = height < 0;   // stored top row first; 64 bits hold the size of any height
    if (!FitsOrRefuse(path, width, topDown ? -height : height, maxColumns, maxRows, holder)) return 0;
    PictureWhite = 255.0;
    if (bits == 8) {
        int entries = paletteUsed > 0 && paletteUsed <= BmpPaletteEntries ? (int)paletteUsed : BmpPaletteEntries;
        if (fseek(file, BmpFileHeaderBytes + infoBytes, SEEK_SET) != 0) return Refuse("%s ends early", path);
        for (int i = 0; i < BmpPaletteEntries; i++) PaletteGrey[i] = 0.0, PaletteTinted[i] = 0;
        for (int i = 0; i < entries; i++) {
            unsigned char entry[4];
            if (fread(entry, 1, 4, file) != 4) return Refuse("%s ends inside its palette", path);
            PaletteGrey[i] = GreyOfColour(entry[2], entry[1], entry[0]);
            PaletteTinted[i] = entry[0] != entry[1] || entry[1] != entry[2];
        }
    }
    if (pixelOffset < (long)sizeof BmpHeader || fseek(file, pixelOffset, SEEK_SET) != 0)
        return Refuse("%s: its pixels lie at offset %ld, outside the file", path, pixelOffset);
    size_t stride = ((size_t)PictureColumns * bits + 31) / 32 * 4;
    for (int stored = 0; stored < PictureRows; stored++) {
        if (fread(RowBuffer, 1, stride, file) != stride)
            return Refuse("%s ends early, after %d of %d rows", path, stored, PictureRows);
        int row = topDown ? stored : PictureRows - 1 - stored;
        for (int column = 0; column < PictureColumns; column++) {
            const unsigned char *p = RowBuffer + column * (bits / 8);
            PictureLevel[row][column] =
                (float)(bits == 8 ? PaletteGrey[p[0]] : GreyOfColour(p[2], p[1], p[0]));
            PictureTinted[row][column] = bits == 8 ? PaletteTinted[p[0]] : p[0] != p[1] || p[1] != p[2];
        }
    }
    return 1;
}

int ReadPicture(const char *path, int maxColumns, int maxRows, const char *holder) {
    struct stat status;
    if (stat(path, &status) == 0 && S_ISDIR(status.st_mode)) return Refuse("%s is a folder; give a picture file", path);
    FILE *file = fopen(path, "rb");
    if (!file) return Refuse("cannot open %s", path);
    memset(PictureTinted, 0, sizeof PictureTinted);
    unsigned char magic[2] = {0, 0};
    int ok;
    if (fread(magic, 1, 2, file) != 2) {
        ok = Refuse("%s is empty or too short to be a picture", path);
    } else if (magic[0] == 'P' && (magic[1] == '2' || magic[1] == '5')) {
        ok = ReadPgm(file, path, magic[1] == '5', maxColumns, maxRows, holder);
    } else if (magic[0] == 'B' && magic[1] == 'M') {
        rewind(file);
        ok = ReadBmp(file, path, maxColumns, maxRows, holder);
    } else {
        ok = Refuse("%s is neither a PGM (P2, P5) nor a BMP picture", path);
    }
    fclose(file);
    return ok;
}
