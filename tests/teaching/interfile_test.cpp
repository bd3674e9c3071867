// Projection data of another program in and out: Interfile headers and raw arrays written
// here in every storage form, imported, and rebuilt by the program's own reconstruction.
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "teaching/commands/data_tool.h"
#include "teaching/filter_taps.h"
#include "teaching/sample_volume.h"
#include "teaching/tool_error.h"
#include "recon/final_image.h"
#include "recon/projection_views.h"
#include "recon/reconstruction.h"
#include "recon/sinogram_file.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"
#include "support/file_bytes.h"
#include "support/test_folder.h"
#include "teaching/picture_bytes.h"
#include "teaching/tool_run.h"

namespace interfile_test {

static std::string In(const char *name) {
    static std::string folder;
    if (folder.empty()) {
        folder = TestFolderPath("interfile");
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    return folder + "/" + name;
}


// Two blobs at the data's (x, y) in mm, y downward: a bright one and one half as bright.
const double BlobX[2] = {40.0, -25.0}, BlobY[2] = {-30.0, 20.0}, BlobWeight[2] = {1.0, 0.5};
static double BlobProjection(double phiDegrees, double s) {
    double sum = 0.0, phi = phiDegrees * Pi / 180.0;
    for (int b = 0; b < 2; b++) {
        double d = s - (BlobX[b] * cos(phi) + BlobY[b] * sin(phi));
        sum += 100.0 * BlobWeight[b] * exp(-d * d / (2.0 * 3.0 * 3.0));
    }
    return sum;
}

struct Variant {
    const char *name;
    int byView, bigEndian, int16, offset, fiveSegments, arc, positions;
    double viewOffset;
    const char *raw;   // the --raw type, or NULL for an Interfile header
};
const int Views = 96;
const long FiveSizes[5] = {3, 5, 7, 5, 3};   // segment 0 in the middle of the file
const double BinMm = 2.0, RadiusMm = 310.0, Scale = 0.01;
const int Detectors = 600;

static double PositionMm(const Variant &v, int i) {
    int t = i - v.positions / 2;
    return v.arc ? t * BinMm : RadiusMm * sin(t * Pi / Detectors);
}

// The data file of v: every segment but 0 holds a constant that would show.
static void WriteVariant(const Variant &v, const std::string &data) {
    std::string bytes(v.offset, 'x');
    int segments = v.fiveSegments ? 5 : 1;
    for (int k = 0; k < segments; k++) {
        long axial = v.fiveSegments ? FiveSizes[k] : 7;
        for (long outer = 0; outer < (v.byView ? Views : axial); outer++)
            for (long inner = 0; inner < (v.byView ? axial : Views); inner++)
                for (int i = 0; i < v.positions; i++) {
                    long view = v.byView ? outer : inner;
                    double value = (segments == 1 || k == 2) ? BlobProjection(view * 180.0 / Views + v.viewOffset, PositionMm(v, i))
                                                             : 7777.0;
                    unsigned char b[4];
                    int n = v.int16 ? 2 : 4;
                    uint32_t bits;
                    if (v.int16) bits = (uint16_t)(int16_t)lround(value / Scale);
                    else {
                        float f = (float)value;
                        memcpy(&bits, &f, 4);
                    }
                    for (int j = 0; j < n; j++) b[v.bigEndian ? n - 1 - j : j] = (unsigned char)(bits >> (8 * j));
                    bytes.append((const char *)b, n);
                }
    }
    WriteBytes(data, bytes);
}

static std::string HeaderOf(const Variant &v, const char *dataName) {
    char text[4096];
    snprintf(text, sizeof text,
             "!INTERFILE  :=\n; written by the test\n!imaging modality := PT\nname of data file := %s\n"
             "!type of data := PET\nimagedata byte order := %s\n!PET data type := Emission\n%s"
             "!number format := %s\n!number of bytes per pixel := %d\nnumber of dimensions := 4\n"
             "matrix axis label [4] := segment\n!matrix size [4] := %d\n"
             "matrix axis label [3] := %s\n!matrix size [3] := %s\n"
             "Matrix Axis Label [2] := %s\n!matrix size [2] := %s\n"
             "matrix axis label [1] := tangential coordinate\n!matrix size [1] := %d\n"
             "minimum ring difference per segment := %s\nmaximum ring difference per segment := %s\n"
             "Inner ring diameter (cm) := 60\nAverage depth of interaction (cm) := 1\n"
             "Number of detectors per ring := %d\nDefault bin size (cm) := -1\neffective central bin size (cm) := %g\n"
             "View offset (degrees) := %g\n  data offset in bytes [1] := %d\nimage scaling factor[1] := %g\n"
             "!END OF INTERFILE :=\nignored := 1\n",
             dataName, v.bigEndian ? "BIGENDIAN" : "LITTLEENDIAN",
             v.arc ? "" : "applied corrections := {None}\n", v.int16 ? "signed integer" : "float", v.int16 ? 2 : 4,
             v.fiveSegments ? 5 : 1, v.byView ? "view" : "axial coordinate",
             v.byView ? "96" : (v.fiveSegments ? "{3,5,7,5,3}" : "{7}"), v.byView ? "axial coordinate" : "view",
             v.byView ? (v.fiveSegments ? "{3,5,7,5,3}" : "{7}") : "96", v.positions,
             v.fiveSegments ? "{-2,-1,0,1,2}" : "{0}", v.fiveSegments ? "{-2,-1,0,1,2}" : "{0}", Detectors, BinMm / 10.0,
             v.viewOffset, v.offset, v.int16 ? Scale : 1.0);
    return text;
}

// The slice on file slice 43 rebuilt by the program's filtered backprojection.
static void Reconstruct(const std::string &volume) {
    ASSERT_EQ(LoadSinogramVolume(volume.c_str()), 1);
    ExtractSlice(LastSlice - 43);
    MakeFilterTaps(FilterRamp, FilterTaps);
    ReconstructSlice('2');
}

// ReconImage at the data's (x, y) in mm, one pixel pixelMm: x to the right, y turned upward.
static double ImageAt(double x, double y, double pixelMm) {
    int p = (int)lround(RotationCentre + x / pixelMm), q = (int)lround(RotationCentre - y / pixelMm);
    return ReconImage[p][q];
}

TEST(Interfile, EveryStorageFormComesBackUprightWhereItBelongs) {
    const Variant variants[] = {
        {"by view, little-endian floats", 1, 0, 0, 0, 0, 1, 128, 0.0, NULL},
        {"by sinogram, big-endian floats, odd positions", 0, 1, 0, 0, 0, 1, 129, 0.0, NULL},
        {"16-bit integers scaled, an offset, by view", 1, 1, 1, 512, 0, 1, 128, 0.0, NULL},
        {"segment 0 in the middle of five, by sinogram", 0, 0, 0, 0, 1, 1, 128, 0.0, NULL},
        {"without arc correction, five segments, by view", 1, 0, 0, 64, 1, 0, 128, 0.0, NULL},
        {"a view offset, 16-bit little-endian", 0, 0, 1, 0, 0, 1, 127, 12.5, NULL},
        {"raw big-endian floats by view with an offset", 1, 1, 0, 100, 0, 1, 128, 0.0, "float32be"},
        {"raw little-endian 16-bit integers by sinogram", 0, 0, 1, 0, 0, 1, 128, 0.0, "int16"},
    };
    int first = 1;
    for (const Variant &v : variants) {
        SCOPED_TRACE(v.name);
        WriteVariant(v, In("data.s"));
        std::vector<std::string> words = {"import", In("data.hs"), In("imported.sino"), "--bin-mm", "1"};
        if (v.raw) {
            words[1] = In("data.s");
            for (const char *w : {"--raw", v.raw, "--shape", v.positions == 128 ? "7,96,128" : "7,96,129", "--order",
                                  v.byView ? "view,slice,bin" : "slice,view,bin", "--data-bin-mm", "2"})
                words.push_back(w);
            if (v.offset) words.insert(words.end(), {"--offset", std::to_string(v.offset)});
        } else {
            WriteBytes(In("data.hs"), HeaderOf(v, "data.s"));
        }
        ASSERT_EQ(RunTool(words), 0) << ToolError;
        Reconstruct(In("imported.sino"));
        int bestP = 0, bestQ = 0;
        for (int p = 0; p < ImageSide; p++)
            for (int q = 0; q < ImageSide; q++)
                if (ReconImage[p][q] > ReconImage[bestP][bestQ]) bestP = p, bestQ = q;
        EXPECT_NEAR(bestP, RotationCentre + BlobX[0], 1.0);
        EXPECT_NEAR(bestQ, RotationCentre - BlobY[0], 1.0);
        double peak = ReconImage[bestP][bestQ];
        EXPECT_GT(ImageAt(BlobX[1], BlobY[1], 1.0), 0.2 * peak);   // half as bright, less the background
        EXPECT_LT(ImageAt(BlobX[1], -BlobY[1], 1.0), 0.1 * peak) << "mirrored";
        EXPECT_LT(ImageAt(-BlobX[1], BlobY[1], 1.0), 0.1 * peak) << "mirrored";
        if (first) {
            // The picture the program shows, to look at.
            ResetFakePicture();
            ShowReconstruction();
            std::vector<uint32_t> pixels;
            for (int y = 0; y < PictureHeight; y++)
                for (int x = 0; x < PictureWidth; x++) pixels.push_back(FakePixel(x, y));
            WriteBytes(In("imported_final.bmp"), BmpBytes(PictureWidth, PictureHeight, 24, pixels));
            first = 0;
        }
    }
}

struct Refused { const char *key, *line, *says; int status; };

TEST(Interfile, RefusesWhatItCannotReadNamingTheKey) {
    const Variant plain = {"plain", 1, 0, 0, 0, 0, 1, 128, 0.0, NULL};
    WriteVariant(plain, In("refused.s"));
    const std::string good = HeaderOf(plain, "refused.s");
    const Refused cases[] = {
        {"number of dimensions := 4", "number of dimensions := 5", "number of dimensions := 5: time-of-flight", 1},
        {"!PET data type := Emission", "!PET data type := ListMode", "!PET data type := ListMode", 1},
        {"!type of data := PET", "!type of data := Tomographic", "only PET projection data", 1},
        {"!matrix size [3] := 96", "!matrix size [3] := 97", "promises", 1},
        {"effective central bin size (cm) := 0.2", "effective central bin size (cm) := 0", "bin size above 0", 1},
        {"!number of bytes per pixel := 4", "!number of bytes per pixel := 3", "floats have 4 or 8 bytes", 1},
        {"imagedata byte order := LITTLEENDIAN", "imagedata byte order := MIDDLE", "LITTLEENDIAN or BIGENDIAN", 1},
        {"!INTERFILE  :=", "INTERFILE? :=", "not an Interfile header", 1},
    };
    for (const Refused &c : cases) {
        std::string header = good;
        size_t at = header.find(c.key);
        ASSERT_NE(at, std::string::npos) << c.key;
        header.replace(at, strlen(c.key), c.line);
        WriteBytes(In("refused.hs"), header);
        EXPECT_EQ(RunTool({"import", In("refused.hs"), In("refused.sino")}), c.status) << c.line;
        EXPECT_NE(strstr(ToolError, c.says), nullptr) << ToolError;
        EXPECT_FALSE(std::filesystem::exists(In("refused.sino")));
    }
    WriteBytes(In("refused.hs"), good);
    EXPECT_EQ(RunTool({"import", In("refused.hs"), In("refused.sino"), "--segment", "1"}), 1);
    EXPECT_NE(strstr(ToolError, "no segment 1"), nullptr) << ToolError;
}

// Export and import again: each profile comes back through two half-bin interpolations,
// that is smoothed by (1/4, 1/2, 1/4), and otherwise unchanged.
TEST(Interfile, AnExportReadBackIsTheVolumeUpToTheHalfBin) {
    ASSERT_EQ(RunTool({"sinogram", In("head.sino"), "--phantom", "head", "--noise", "none"}), 0) << ToolError;
    ASSERT_EQ(RunTool({"export", In("head.sino"), In("head.hs")}), 0) << ToolError;
    EXPECT_TRUE(std::filesystem::exists(In("head.s")));
    ASSERT_EQ(RunTool({"import", In("head.hs"), In("back.sino"), "--bin-mm", "1.3"}), 0) << ToolError;
    std::string before = FileBytes(In("head.sino")), after = FileBytes(In("back.sino"));
    ASSERT_EQ(after.size(), (size_t)SinogramFileBytes);
    auto sample = [](const std::string &bytes, int s, int a, int r) {
        float f = 0.0f;
        if (r >= 0 && r < Bins) memcpy(&f, &bytes[SinogramHeaderBytes + 4 * ((s * Angles + a) * Bins + r)], 4);
        return (double)f;
    };
    double smoothed = 0.0, unsmoothed = 0.0, peak = 0.0;
    for (int s = 0; s < Slices; s++)
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++) {
                double b = sample(after, s, a, r), o = sample(before, s, a, r);
                double expected = 0.25 * sample(before, s, a, r - 1) + 0.5 * o + 0.25 * sample(before, s, a, r + 1);
                smoothed = fmax(smoothed, fabs(b - expected));
                unsmoothed = fmax(unsmoothed, fabs(b - o));
                peak = fmax(peak, o);
            }
    printf("export and import: largest difference %.3g of the peak from the volume smoothed by (1/4, 1/2, 1/4), "
           "%.3g from the volume itself\n", smoothed / peak, unsmoothed / peak);
    EXPECT_LT(smoothed / peak, 1e-5);
    EXPECT_LT(unsmoothed / peak, 0.1);
}

}  // namespace interfile_test
