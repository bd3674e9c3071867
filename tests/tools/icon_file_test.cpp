// The icon file: the layout resource compilers read, each size's mask agreeing with its
// alpha, and the same bytes from every build, which pins the picture too.
#include <stdint.h>
#include <stdio.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/file_bytes.h"
#include "teaching/fnv_hash.h"
#include "tools/icon/icon_file.h"
#include "support/test_folder.h"

namespace icon_file_test {

static std::vector<unsigned char> WrittenIcon() {
    std::string path = TestFolderPath("icon.ico");
    EXPECT_EQ(WriteIconFile(path.c_str()), 1);
    std::string read = FileBytes(path);
    remove(path.c_str());
    return std::vector<unsigned char>(read.begin(), read.end());
}

static long Get(const std::vector<unsigned char> &bytes, long at, int count) {
    long value = 0;
    for (int i = count - 1; i >= 0; i--) value = value << 8 | bytes[at + i];
    return value;
}

TEST(IconFile, EverySizeIsAnAlphaBitmapWithAMatchingMask) {
    std::vector<unsigned char> ico = WrittenIcon();
    ASSERT_GT(ico.size(), 6u + 16u * IconSizeCount);
    EXPECT_EQ(Get(ico, 0, 2), 0);
    EXPECT_EQ(Get(ico, 2, 2), 1);
    EXPECT_EQ(Get(ico, 4, 2), IconSizeCount);
    long expectedOffset = 6 + 16 * IconSizeCount;
    for (int i = 0; i < IconSizeCount; i++) {
        int side = IconSizes[i];
        long entry = 6 + 16 * i, stride = (side + 31) / 32 * 4;
        long length = Get(ico, entry + 8, 4), offset = Get(ico, entry + 12, 4);
        EXPECT_EQ(ico[entry], side % 256) << side;
        EXPECT_EQ(Get(ico, entry + 4, 2), 1) << side;
        EXPECT_EQ(Get(ico, entry + 6, 2), 32) << side;
        EXPECT_EQ(length, 40 + side * side * 4 + stride * side) << side;
        EXPECT_EQ(offset, expectedOffset) << side;
        expectedOffset += length;
        ASSERT_LE((size_t)(offset + length), ico.size()) << side;
        const long header[][3] = {{0, 4, 40}, {4, 4, side}, {8, 4, 2 * side}, {12, 2, 1}, {14, 2, 32}, {16, 4, 0}};
        for (const auto &h : header) EXPECT_EQ(Get(ico, offset + h[0], (int)h[1]), h[2]) << side << " at " << h[0];
        long pixels = offset + 40, mask = pixels + side * side * 4;
        int disagreeing = 0, opaque = 0;
        for (int up = 0; up < side; up++)
            for (int x = 0; x < side; x++) {
                int alpha = ico[pixels + (up * side + x) * 4 + 3];
                int masked = (ico[mask + up * stride + x / 8] >> (7 - x % 8)) & 1;
                disagreeing += masked != (alpha == 0);
                opaque += alpha == 255;
            }
        EXPECT_EQ(disagreeing, 0) << side;
        EXPECT_GT(opaque, side * side * 3 / 4) << side;   // the backdrop fills nearly all
        EXPECT_EQ(ico[pixels + 3], 0) << side << ": a rounded corner is transparent";
    }
    EXPECT_EQ(ico.size(), (size_t)expectedOffset);
}

TEST(IconFile, EveryBuildWritesTheSameBytes) {
    std::vector<unsigned char> ico = WrittenIcon();
    EXPECT_EQ(Fnv1a(FnvStart, ico.data(), ico.size()), 10190032011926473644ULL);
}

}  // namespace icon_file_test
