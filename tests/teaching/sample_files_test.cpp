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

static uint64_t FileHash(const std::string &path) {
    uint64_t hash = 0xCBF29CE484222325ULL;
    for (char c : FileBytes(path)) {
        hash ^= (unsigned char)c;
        hash *= 0x100000001B3ULL;
    }
    return hash;
}

// The hashes pin the exact bytes: a change in the phantoms, the scaling, the noise or
// the number format shows here, and so does any build that computes differently.
TEST(SampleFiles, EveryBuildWritesTheSameBytes) {
    const uint64_t volumeHashes[4] = {16041718632032018681ULL, 11214011191584437905ULL,
                                      7356536980074938236ULL, 18286689455284974896ULL};
    for (int p = 0; p < 2; p++) {
        if (p == 0) BuildHeadPhantom();
        else BuildRodPhantom();
        ProjectPhantom(p == 0 ? 1000.0 : 600.0);
        EXPECT_EQ(SampleVolumeHash(), volumeHashes[2 * p]) << "noise-free " << p;
        AddPoissonNoise(&SampleVolume[0][0][0], (long)Slices * Angles * Bins,
                        p == 0 ? 0x5EED0001ULL : 0x5EED0002ULL);
        EXPECT_EQ(SampleVolumeHash(), volumeHashes[2 * p + 1]) << "noisy " << p;
    }
    const uint64_t filterHashes[FilterKinds] = {
        15493193480842271729ULL, 16966387286924371670ULL, 7832740501347789459ULL,
        12115575237247722452ULL, 4006582755184228131ULL, 2754963419223334692ULL};
    for (int kind = 0; kind < FilterKinds; kind++) {
        double taps[FilterTapCount];
        MakeFilterTaps(kind, taps);
        std::string path = TempPath((std::string("quorvel_hash_") + FilterFileNames[kind]).c_str());
        ASSERT_EQ(WriteFilterFile(path.c_str(), taps), 1);
        EXPECT_EQ(FileHash(path), filterHashes[kind]) << FilterFileNames[kind];
        remove(path.c_str());
    }
}

// The samples added for teaching: the head at the lowest dose and the filters cut at half
// the Nyquist frequency, Butterworth's integrated numerically, are the same bytes too.
TEST(SampleFiles, TheLowDoseHeadAndTheHalfCutFiltersAreTheSameBytesEverywhere) {
    BuildHeadPhantom();
    ProjectPhantom(100.0);
    AddPoissonNoise(&SampleVolume[0][0][0], (long)Slices * Angles * Bins, 100);
    EXPECT_EQ(SampleVolumeHash(), 6738052612609552410ULL);
    const int kinds[] = {FilterRamp, FilterSheppLogan, FilterCosine, FilterHamming, FilterHann, FilterButterworth};
    const uint64_t hashes[] = {14431110155693592106ULL, 12519690873871772842ULL, 6667002120510481700ULL,
                               2661211476838807780ULL, 1098545068598492382ULL, 4105178539022522104ULL};
    for (int i = 0; i < 6; i++) {
        double taps[FilterTapCount];
        MakeCutFilterTaps(kinds[i], 0.5, 4, FilterTapCount, taps);
        std::string path = TempPath("quorvel_hash_half.txt");
        ASSERT_EQ(WriteFilterFile(path.c_str(), taps), 1);
        EXPECT_EQ(FileHash(path), hashes[i]) << FilterNames[kinds[i]];
        remove(path.c_str());
    }
}

}  // namespace sample_files_test
