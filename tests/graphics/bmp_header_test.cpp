#include "graphics/bmp_header.h"

#include <gtest/gtest.h>

namespace bmp_header_test {

namespace {

struct HeaderCase {
    int width, height;
    int rowBytes;    // a row padded to four bytes
};

// Widths of every remainder of three bytes a pixel against four, and the picture's size.
const HeaderCase HeaderCases[] = {
    {1, 1, 4}, {2, 3, 8}, {3, 2, 12}, {4, 5, 12}, {5, 1, 16}, {1200, 800, 3600},
};

unsigned long Read(const unsigned char *at, int bytes) {
    unsigned long value = 0;
    for (int i = bytes - 1; i >= 0; i--) value = value << 8 | at[i];
    return value;
}

}  // namespace

// Read back by offset in the file, as any reader of the file does.
TEST(BmpHeader, FieldsLieWhereReadersLookForThem) {
    for (const HeaderCase &c : HeaderCases) {
        BmpHeader header;
        FillBmpHeader(&header, c.width, c.height);
        const unsigned char *b = (const unsigned char *)&header;
        EXPECT_EQ(BmpRowBytes(c.width), c.rowBytes) << c.width;
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(Read(b + 2, 4), 54ul + (unsigned long)c.rowBytes * c.height) << c.width;
        EXPECT_EQ(Read(b + 6, 4), 0ul);
        EXPECT_EQ(Read(b + 10, 4), 54ul);
        EXPECT_EQ(Read(b + 14, 4), 40ul);
        EXPECT_EQ(Read(b + 18, 4), (unsigned long)c.width);
        EXPECT_EQ(Read(b + 22, 4), (unsigned long)c.height);
        EXPECT_EQ(Read(b + 26, 2), 1ul);
        EXPECT_EQ(Read(b + 28, 2), 24ul);
        for (int i = 30; i < BmpHeaderBytes; i++) EXPECT_EQ(b[i], 0) << "byte " << i;
    }
}

}  // namespace bmp_header_test
