// The written volumes: the file format the program reads, the same bytes from every
// build (fixed hashes, checked natively and under Wine), and a round trip through the
// program's own loader.
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "teaching/filter_taps.h"
#include "teaching/fnv_hash.h"
#include "teaching/phantoms.h"
#include "teaching/poisson_noise.h"
#include "teaching/sample_volume.h"
#include "recon/sinogram_file.h"
#include "recon/working_arrays.h"
#include "support/fakes.h"
#include "support/file_bytes.h"
#include "support/test_folder.h"

namespace sample_files_test {

static std::string TempPath(const char *name) {
    return TestFolderPath(name);
}

TEST(SampleFiles, VolumeFileHasTheReadFormat) {
    BuildHeadPhantom();
    ProjectPhantom(1000.0);
    std::string path = TempPath("quorvel_sample_format.sino");
    ASSERT_EQ(WriteSampleVolume(path.c_str()), 1);
    EXPECT_EQ(std::filesystem::file_size(path), (uintmax_t)SinogramFileBytes);

    FILE *file = fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char header[24];
    ASSERT_EQ(fread(header, 1, 24, file), 24u);
    EXPECT_EQ(memcmp(header, "QUORVEL SINO 256x128x87\0", 24), 0);
    // Samples by their file offset, assembled least significant byte first.
    const int places[][3] = {{0, 0, 3}, {0, 1, 0}, {43, 0, 99}, {43, 77, 180}, {86, 127, 255},
                             {60, 5, 140}};
    for (const auto &p : places) {
        long offset = 24 + 4L * (((long)p[0] * 128 + p[1]) * 256 + p[2]);
        unsigned char b[4];
        ASSERT_EQ(fseek(file, offset, SEEK_SET), 0);
        ASSERT_EQ(fread(b, 1, 4, file), 4u);
        uint32_t bits = b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
        float value;
        memcpy(&value, &bits, 4);
        EXPECT_EQ(value, SampleVolume[p[0]][p[1]][p[2]]) << p[0] << " " << p[1] << " " << p[2];
    }
    EXPECT_GT(SampleVolume[43][0][99], 0.0f);
    fclose(file);

    // The program's loader sees the same samples in its own index order.
    ResetFakePicture();
    ResetFakeConsole();
    ASSERT_EQ(LoadSinogramVolume(path.c_str()), 1);
    int differing = 0;
    for (int s = 0; s < Slices; s++)
        for (int a = 0; a < Angles; a++)
            for (int r = 0; r < Bins; r++)
                differing += SinogramVolume[s][a][r] != SampleVolume[s][a][r];
    EXPECT_EQ(differing, 0);
    remove(path.c_str());
}

struct SampleHash {
    const char *name;   // in the samples folder
    uint64_t fnv;       // of its bytes
    const char *sha256;
};

const SampleHash SampleHashes[] = {
#include "teaching/sample_hashes.inc"
};

static uint64_t PinnedHash(const std::string &name) {
    for (const SampleHash &row : SampleHashes)
        if (name == row.name) return row.fnv;
    ADD_FAILURE() << name << " has no row in sample_hashes.inc";
    return 0;
}

static uint64_t FileHash(const std::string &path) {
    std::string bytes = FileBytes(path);
    return Fnv1a(FnvStart, bytes.data(), bytes.size());
}

// The hashes pin the exact bytes: a change in the phantoms, the scaling, the noise or
// the number format shows here, and so does any build that computes differently.
TEST(SampleFiles, EveryBuildWritesTheSameBytes) {
    const char *const volumes[4] = {"head.sino", "head_poisson.sino", "rods.sino", "rods_poisson.sino"};
    for (int p = 0; p < 2; p++) {
        if (p == 0) BuildHeadPhantom();
        else BuildRodPhantom();
        ProjectPhantom(p == 0 ? 1000.0 : 600.0);
        EXPECT_EQ(SampleVolumeHash(), PinnedHash(volumes[2 * p])) << volumes[2 * p];
        AddPoissonNoise(&SampleVolume[0][0][0], (long)Slices * Angles * Bins,
                        p == 0 ? 0x5EED0001ULL : 0x5EED0002ULL);
        EXPECT_EQ(SampleVolumeHash(), PinnedHash(volumes[2 * p + 1])) << volumes[2 * p + 1];
    }
    for (int kind = 0; kind < FilterKindCount; kind++) {
        if (!FilterKindTable[kind].fileName) continue;
        double taps[FilterTapCount];
        MakeFilterTaps(kind, taps);
        std::string path = TempPath((std::string("quorvel_hash_") + FilterKindTable[kind].fileName).c_str());
        ASSERT_EQ(WriteFilterFile(path.c_str(), taps), 1);
        EXPECT_EQ(FileHash(path), PinnedHash(FilterKindTable[kind].fileName)) << FilterKindTable[kind].fileName;
        remove(path.c_str());
    }
}

// The samples added for teaching: the head at the lowest dose and the filters cut at half
// the Nyquist frequency, Butterworth's integrated numerically, are the same bytes too.
TEST(SampleFiles, TheLowDoseHeadAndTheHalfCutFiltersAreTheSameBytesEverywhere) {
    BuildHeadPhantom();
    ProjectPhantom(100.0);
    AddPoissonNoise(&SampleVolume[0][0][0], (long)Slices * Angles * Bins, 100);
    EXPECT_EQ(SampleVolumeHash(), PinnedHash("head_100.sino"));
    for (int kind = 0; kind < FilterKindCount; kind++) {
        const char *file = FilterKindTable[kind].halfFileName;
        if (!file) continue;
        double taps[FilterTapCount];
        MakeCutFilterTaps(kind, 0.5, 4, FilterTapCount, taps);
        std::string path = TempPath("quorvel_hash_half.txt");
        ASSERT_EQ(WriteFilterFile(path.c_str(), taps), 1);
        EXPECT_EQ(FileHash(path), PinnedHash(file)) << file;
        remove(path.c_str());
    }
}

}  // namespace sample_files_test
