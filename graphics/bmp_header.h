// The 54 bytes that open an uncompressed 24-bit bottom-up BMP file: the 14-byte file
// header, then the 40-byte information header. Every picture file written is headed so.
#pragma once

// Fields as little-endian bytes, so the layout holds in every build; offsets in the file
// are fixed by static_assert in bmp_header.cpp.
struct BmpHeader {
    unsigned char signature[2];      // "BM"
    unsigned char fileBytes[4];      // the whole file
    unsigned char reserved[4];
    unsigned char pixelsAt[4];       // offset of the first row
    unsigned char infoBytes[4];      // the information header's size, 40
    unsigned char width[4];          // pixels
    unsigned char height[4];         // positive: the bottom row first
    unsigned char planes[2];         // 1
    unsigned char bitsPerPixel[2];   // 24
    unsigned char rest[24];          // compression none, sizes and colours zero
};

const int BmpHeaderBytes = 54;
const int BmpBytesPerPixel = 3;      // blue, green, red
const int BmpRowAlignment = 4;       // rows are padded to a multiple of 4 bytes

// Bytes of one stored row of width pixels, padding included.
int BmpRowBytes(int width);

// Fills header for a width x height picture of BmpRowBytes(width) x height pixel bytes.
void FillBmpHeader(BmpHeader *header, int width, int height);
