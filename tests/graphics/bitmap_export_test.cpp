#include "graphics/bitmap_export.h"

#include <gtest/gtest.h>
#include <string.h>

#include "graphics/surface.h"
#include "support/test_windows.h"
#include "tools/program_driver/dialogue_driver.h"

namespace bitmap_export_test {

namespace {

const size_t BitmapBytes = 2880054;
const size_t RowBytes = 3600;
const size_t PixelStart = 54;

uint32_t Word32(const std::string &bytes, size_t at) {
    return (uint8_t)bytes[at] | (uint8_t)bytes[at + 1] << 8 | (uint8_t)bytes[at + 2] << 16 |
           (uint32_t)(uint8_t)bytes[at + 3] << 24;
}

uint16_t Word16(const std::string &bytes, size_t at) {
    return (uint16_t)((uint8_t)bytes[at] | (uint8_t)bytes[at + 1] << 8);
}

// Blue, green, red of the picture's pixel (x, y) in a saved file.
std::string StoredPixel(const std::string &file, int x, int y) {
    return file.substr(PixelStart + (size_t)(799 - y) * RowBytes + (size_t)x * 3, 3);
}

std::string Bgr(int blue, int green, int red) {
    return std::string{(char)blue, (char)green, (char)red};
}

// Asymmetric content: each corner its own colour, a grey and a box off the middle.
void DrawTestPicture() {
    GraphicsOpen();
    SetPixelV(SurfaceDC, 0, 0, RGB(255, 0, 0));        // red, top left
    SetPixelV(SurfaceDC, 0, 799, RGB(0, 0, 255));      // blue, bottom left
    SetPixelV(SurfaceDC, 1199, 0, RGB(0, 255, 0));     // green, top right
    SetPixelV(SurfaceDC, 1199, 799, RGB(1, 2, 3));     // bottom right
    PlotGray(10, 3, 77.0f, 255.0f);
    DrawColor = RGB(0x12, 0x34, 0x56);
    FillBox(100, 20, 103, 22);
}

// Exports while answering whatever box it shows; returns the boxes' texts.
std::vector<ModalSeen> ExportAnswering(const std::string &path, bool *result) {
    StartModalScript({});
    *result = ExportBitmap(path.c_str());
    return FinishModalScript();
}

TEST(ExportBitmap, WritesTheWholePictureBottomUp) {
    EnsureWindows();
    DrawTestPicture();
    std::string path = FreshTempPath("picture.bmp");
    bool saved = false;
    std::vector<ModalSeen> boxes = ExportAnswering(path, &saved);
    EXPECT_TRUE(saved);
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;
    std::string file = ReadWholeFile(path);
    ASSERT_EQ(file.size(), BitmapBytes);

    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(Word32(file, 2), 2880054u);
    EXPECT_EQ(Word32(file, 6), 0u);
    EXPECT_EQ(Word32(file, 10), 54u);
    EXPECT_EQ(Word32(file, 14), 40u);
    EXPECT_EQ(Word32(file, 18), 1200u);
    EXPECT_EQ(Word32(file, 22), 800u);
    EXPECT_EQ(Word16(file, 26), 1);
    EXPECT_EQ(Word16(file, 28), 24);
    for (size_t at = 30; at < 54; at += 4) EXPECT_EQ(Word32(file, at), 0u) << "offset " << at;

    // The first row is the bottom one.
    EXPECT_EQ(file.substr(54, 3), Bgr(255, 0, 0)) << "blue (0, 799) first";
    EXPECT_EQ(file.substr(54 + 799 * 3600, 3), Bgr(0, 0, 255)) << "red (0, 0) in the last row";
    EXPECT_EQ(StoredPixel(file, 1199, 0), Bgr(0, 255, 0));
    EXPECT_EQ(StoredPixel(file, 1199, 799), Bgr(3, 2, 1));
    EXPECT_EQ(file.substr(BitmapBytes - 3), Bgr(0, 255, 0)) << "the file ends with (1199, 0)";
    EXPECT_EQ(StoredPixel(file, 10, 3), Bgr(77, 77, 77));
    EXPECT_EQ(StoredPixel(file, 100, 20), Bgr(0x56, 0x34, 0x12));
    EXPECT_EQ(StoredPixel(file, 102, 21), Bgr(0x56, 0x34, 0x12));
    EXPECT_EQ(StoredPixel(file, 103, 21), Bgr(0, 0, 0));
    EXPECT_EQ(StoredPixel(file, 1, 0), Bgr(0, 0, 0));
    EXPECT_EQ(SurfaceDirty, 1) << "the export leaves the picture's state alone";
}

TEST(ExportBitmap, ReplacesALongerFileEntirely) {
    EnsureWindows();
    DrawTestPicture();
    std::string path = FreshTempPath("longer.bmp");
    WriteWholeFile(path, std::string(BitmapBytes + 5000, 'x'));
    bool saved = false;
    ExportAnswering(path, &saved);
    EXPECT_TRUE(saved);
    std::string file = ReadWholeFile(path);
    EXPECT_EQ(file.size(), BitmapBytes);
    EXPECT_EQ(file.substr(0, 2), "BM");
}

struct FailureCase {
    const char *what;
    std::string path;
    const char *message;
};

TEST(ExportBitmap, ReportsFailuresAndReturnsFalse) {
    EnsureWindows();
    DrawTestPicture();
    const FailureCase cases[] = {
        {"a folder that does not exist", FreshTempPath("missing_folder\\picture.bmp"),
         "Failed to nopen file."},
        {"a device that is always full", "Z:\\dev\\full", "Failed to save"},
    };
    for (const FailureCase &c : cases) {
        bool saved = true;
        StartModalScript({AnswerBox(IDOK)});
        saved = ExportBitmap(c.path.c_str());
        std::vector<ModalSeen> boxes = FinishModalScript();
        EXPECT_FALSE(saved) << c.what;
        ASSERT_EQ(boxes.size(), 1u) << c.what;
        EXPECT_EQ(boxes[0].caption, "Tesmira Message") << c.what;
        EXPECT_EQ(boxes[0].text, c.message) << c.what;
    }
}

}  // namespace

}  // namespace bitmap_export_test
