// Loading the sinogram volume file and finding its largest count.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "console/text_ring.h"
#include "recon/sinogram_file.h"
#include "recon/test_files.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"

namespace sinogram_file_test {

// Each sample holds its own position in the file, exactly representable as a float.
static float FileIndex(int s, int a, int r) { return (float)((s * 128 + a) * 256 + r); }
static float Negated(int s, int a, int r) { return -FileIndex(s, a, r) - 1.0f; }

static void FillVolume(float value) {
    for (int r = 0; r < ArraySide; r++)
        for (int a = 0; a < ArraySide; a++)
            for (int s = 0; s < VolumeSlicesDeclared; s++) SinogramVolume[s][a][r] = value;
}

// Number of used elements that differ from sample(s, a, r); the first one is reported.
static long Mismatches(SampleOf sample) {
    long count = 0;
    for (int s = 0; s < Slices; s++)
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++)
                if (SinogramVolume[s][a][r] != sample(s, a, r) && count++ == 0)
                    ADD_FAILURE() << "first mismatch at s " << s << " a " << a << " r " << r;
    return count;
}

class SinogramFile : public testing::Test {
  protected:
    static std::string plain, otherEnds, shortFile;
    static void SetUpTestSuite() {
        plain = TempPath("plain.sino");
        otherEnds = TempPath("other_ends.sino");
        shortFile = TempPath("short.sino");
        WriteSinogramFile(plain, FileIndex, 0x00, 0);
        WriteSinogramFile(otherEnds, FileIndex, 0xFF, 5000);
        WriteFilledFile(shortFile, SinogramFileBytes - 1);
    }
    void SetUp() override {
        ResetFakePicture();
        ResetFakeConsole();
    }
};
std::string SinogramFile::plain, SinogramFile::otherEnds, SinogramFile::shortFile;

TEST_F(SinogramFile, SamplesLandAtBinAngleSlice) {
    FillVolume(-5.0f);
    ASSERT_EQ(LoadSinogramVolume(plain.c_str()), 1);
    struct { long fileIndex; int r, a, s; } cases[] = {
        {3, 3, 0, 0},                  // fourth float after the header
        {256, 0, 1, 0},                // 257th
        {128 * 256, 0, 0, 1},          // first sample of slice 1
        {87L * 128 * 256 - 1, 255, 127, 86},
    };
    for (auto &c : cases) EXPECT_EQ(SinogramVolume[c.s][c.a][c.r], (float)c.fileIndex) << c.fileIndex;
    EXPECT_EQ(Mismatches(FileIndex), 0);
    // Beyond the used extent nothing is written.
    EXPECT_EQ(SinogramVolume[0][0][256], -5.0f);
    EXPECT_EQ(SinogramVolume[0][128][0], -5.0f);
    EXPECT_EQ(SinogramVolume[87][0][0], -5.0f);
    EXPECT_EQ(FakeMessageCount, 0);
}

TEST_F(SinogramFile, HeaderAndTrailingBytesChangeNothing) {
    FillVolume(-5.0f);
    ASSERT_EQ(LoadSinogramVolume(otherEnds.c_str()), 1);
    EXPECT_EQ(Mismatches(FileIndex), 0);
}

TEST_F(SinogramFile, PumpsOnceBeforeEachSlice) {
    FillVolume(-5.0f);
    static int slicesReadAtPump[Slices + 1];
    FakePumpHook = [] {
        int read = 0;
        while (read < Slices && SinogramVolume[read][0][0] != -5.0f) read++;
        if (FakePumpCount <= Slices) slicesReadAtPump[FakePumpCount - 1] = read;
    };
    ASSERT_EQ(LoadSinogramVolume(plain.c_str()), 1);
    EXPECT_EQ(FakePumpCount, Slices);
    for (int k = 0; k < Slices; k++) EXPECT_EQ(slicesReadAtPump[k], k) << "pump " << k;
}

TEST_F(SinogramFile, RefusedFilesLeaveTheVolumeAndSayWhy) {
    const std::string missing = TempPath("no_such_file.sino");
    struct { const char *name; std::string path; std::vector<std::string> said; } cases[] = {
        {"short", shortFile, {shortFile, "11403287", "11403288", "short"}},
        {"missing", missing, {missing, "open"}},
        {"cancelled", "", {"No sinogram file"}},
    };
    WriteSinogramFile(TempPath("negated.sino"), Negated, 0, 0);
    ASSERT_EQ(LoadSinogramVolume(TempPath("negated.sino").c_str()), 1);
    for (auto &c : cases) {
        ResetFakePicture();
        ResetFakeConsole();
        EXPECT_EQ(LoadSinogramVolume(c.path.c_str()), 0) << c.name;
        ASSERT_EQ(FakeMessageCount, 1) << c.name;
        for (auto &part : c.said) EXPECT_NE(strstr(FakeMessages[0], part.c_str()), nullptr) << c.name << ": " << FakeMessages[0];
        EXPECT_EQ(FakePumpCount, 0) << c.name;
        EXPECT_EQ(Mismatches(Negated), 0) << c.name;
    }
}

TEST_F(SinogramFile, MaxCountIsTheLargestUsedSampleAtLeastZero) {
    struct { const char *name; float fill; int r, a, s; float placed; float expected; const char *printed; } cases[] = {
        {"all zero", 0.0f, 0, 0, 0, 0.0f, 0.0f, "0.000000"},
        {"all negative", -3.0f, 0, 0, 0, -1.0f, 0.0f, "0.000000"},
        {"NaN passed over", 1.5f, 10, 20, 30, NAN, 1.5f, "1.500000"},
        {"last used element", 0.0f, 255, 127, 86, 7.25f, 7.25f, "7.250000"},
        {"first element", -1.0f, 0, 0, 0, 2.0f, 2.0f, "2.000000"},
    };
    for (auto &c : cases) {
        ResetFakeConsole();
        FillVolume(c.fill);
        SinogramVolume[c.s][c.a][c.r] = c.placed;
        // Outside the used extent, never counted.
        SinogramVolume[0][0][256] = SinogramVolume[0][128][0] = SinogramVolume[87][0][0] = 1e9f;
        FindMaxCount();
        EXPECT_EQ(MaxCount, c.expected) << c.name;
        EXPECT_FALSE(signbit(MaxCount)) << c.name;
        EXPECT_EQ(FakeConsoleText(), std::string("\n\n max count = ") + c.printed) << c.name;
    }
}

}  // namespace sinogram_file_test
