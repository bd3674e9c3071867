#include "support/expected_pictures.h"

#include <math.h>
#include <stdio.h>

#include "graphics/gray_level.h"
#include "recon/backprojection.h"
#include "recon/filter_file.h"
#include "recon/gap_filling.h"
#include "recon/projection_views.h"
#include "recon/reconstruction.h"
#include "recon/sinogram_file.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"

const int DiscCount = 4;
const long BitmapRowBytes = 3600;
const int BitmapLastRow = 799;

static float VolumeSlice[Angles][Bins];  // one slice as the file stores it

static FILE *StartVolume(const char *path) {
    FILE *file = fopen(path, "wb");
    char header[24] = "E2E TEST VOLUME";
    if (file) fwrite(header, 1, sizeof header, file);
    return file;
}

void WriteDiscVolume(const char *path, double shift) {
    FILE *file = StartVolume(path);
    if (!file) return;
    for (int s = 0; s < Slices; ++s) {
        const double discs[DiscCount][4] = {{0.0, 0.0, 70.0, 1.0},   // x, y, radius, density
                                            {-30.0 + 0.3 * s + shift, 20.0, 12.0, 4.0},
                                            {25.0, -15.0 - 0.2 * s, 15.0, -0.8},
                                            {10.0 - shift, 45.0, 5.0, 8.0}};
        for (int a = 0; a < Angles; ++a) {
            double theta = a * AngleStepDegrees * RadiansPerDegree;
            for (int r = 0; r < Bins; ++r) {
                double value = 0.01 * r + 0.1 * (a % 5);
                for (int k = 0; k < DiscCount; ++k) {
                    double d = (r - RotationCentre) - (discs[k][0] * cos(theta) + discs[k][1] * sin(theta));
                    if (fabs(d) < discs[k][2]) value += discs[k][3] * 2.0 * sqrt(discs[k][2] * discs[k][2] - d * d);
                }
                VolumeSlice[a][r] = (float)value;
            }
        }
        fwrite(VolumeSlice, sizeof(float), Angles * Bins, file);
    }
    fclose(file);
}

void WriteUniformVolume(const char *path, float value) {
    FILE *file = StartVolume(path);
    if (!file) return;
    for (int a = 0; a < Angles; ++a)
        for (int r = 0; r < Bins; ++r) VolumeSlice[a][r] = value;
    for (int s = 0; s < Slices; ++s) fwrite(VolumeSlice, sizeof(float), Angles * Bins, file);
    fclose(file);
}

void WriteRampFilter(const char *path) {
    FILE *file = fopen(path, "w");
    if (!file) return;
    for (int n = 0; n < FilterTapCount; ++n) {
        double tap = n == 0 ? 2.5 : (n % 2 ? -10.0 / (Pi * Pi * n * n) : 0.0);
        fprintf(file, "%.9g\n", tap);
    }
    fclose(file);
}

void ExpectedReconstruction(const char *volume, const char *filter, int n, char method) {
    LoadSinogramVolume(volume);
    FindMaxCount();
    ExtractSlice(n);
    ReadFilterTaps(filter);
    ReconstructSlice(method);
}

static unsigned char Picture[SavedBitmapBytes + 1];  // the saved picture read last

int LoadSavedPicture(const char *bitmapPath) {
    FILE *file = fopen(bitmapPath, "rb");
    long size = file ? (long)fread(Picture, 1, sizeof Picture, file) : 0;
    if (file) fclose(file);
    return size == SavedBitmapBytes && Picture[0] == 'B' && Picture[1] == 'M';
}

unsigned SavedPixel(int x, int y) {
    const unsigned char *bgr = Picture + 54 + (long)(BitmapLastRow - y) * BitmapRowBytes + 3L * x;
    return (unsigned)bgr[2] << 16 | (unsigned)bgr[1] << 8 | bgr[0];
}

int FinalImageMismatches(const char *bitmapPath, char *first, int firstBytes) {
    first[0] = 0;
    if (!LoadSavedPicture(bitmapPath)) return -1;
    int mismatches = 0;
    for (int i = 0; i < ImageSide; ++i) {
        int q = ImageSide - 1 - i;
        for (int p = 0; p < ImageSide; ++p) {
            unsigned grey = (unsigned)GrayLevel(ReconImage[p][q], DisplayMax) * 0x010101u;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    int x = FinalImageLeft + FinalImageScale * p + dx, y = FinalImageTop + FinalImageScale * i + dy;
                    unsigned seen = SavedPixel(x, y);
                    if (seen == grey) continue;
                    if (!mismatches++)
                        snprintf(first, firstBytes, " (first at x %d y %d: %06X, expected %06X)", x, y, seen, grey);
                }
        }
    }
    return mismatches;
}

int LitFinalPixels() {
    int lit = 0;
    for (int p = 0; p < ImageSide; ++p)
        for (int q = 0; q < ImageSide; ++q) lit += GrayLevel(ReconImage[p][q], DisplayMax) > 0;
    return lit;
}

int FinalImagesDiffer(const char *bitmapA, const char *bitmapB) {
    static unsigned finalA[ImageSide * FinalImageScale][ImageSide * FinalImageScale];   // [y][x] of picture A
    if (!LoadSavedPicture(bitmapA)) return -1;
    for (int y = 0; y < ImageSide * FinalImageScale; ++y)
        for (int x = 0; x < ImageSide * FinalImageScale; ++x) finalA[y][x] = SavedPixel(FinalImageLeft + x, FinalImageTop + y);
    if (!LoadSavedPicture(bitmapB)) return -1;
    int differ = 0;
    for (int y = 0; y < ImageSide * FinalImageScale; ++y)
        for (int x = 0; x < ImageSide * FinalImageScale; ++x)
            differ += finalA[y][x] != SavedPixel(FinalImageLeft + x, FinalImageTop + y);
    return differ;
}
