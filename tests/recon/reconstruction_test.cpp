// Whole reconstructions: physical properties, and results that are the same in every build.
#include <gtest/gtest.h>
#include <math.h>
#include <stdint.h>
#include <string.h>

#include "recon/backprojection.h"
#include "recon/gap_filling.h"
#include "recon/reconstruction.h"
#include "recon/rotation_trig.h"
#include "recon/summation.h"
#include "recon/working_arrays.h"
#include "teaching/fnv_hash.h"

namespace reconstruction_test {

static double AngleOf(int a) { return ((double)a * AngleStepDegrees) * RadiansPerDegree; }

static void ClearSlice() {
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++) SliceSinogram[r][a] = 0.0f;
}

static void SetDeltaFilter() {
    for (int l = 0; l < FilterTapCount; l++) FilterTaps[l] = 0.0;
    FilterTaps[0] = 1.0;
}

// The real-space ramp: 1/4 at the centre, -1/(pi l)^2 at odd distances, 0 at even ones.
static void SetRampFilter() {
    for (int l = 0; l < FilterTapCount; l++) FilterTaps[l] = l % 2 ? -1.0 / (Pi * Pi * l * l) : 0.0;
    FilterTaps[0] = 0.25;
}

// One unit sample per angle, in the bin through which the pixel (P, Q) projects.
static void PointSource(int p, int q) {
    ClearSlice();
    for (int a = 0; a < Angles; a++) {
        double u = (p - RotationCentre) * cos(AngleOf(a)) + (q - RotationCentre) * sin(AngleOf(a));
        SliceSinogram[(int)floor(RotationCentre + u + 0.5)][a] = 1.0f;
    }
}

struct Peak { int p, q; float value; };

static Peak Largest() {
    Peak peak = {-1, -1, -INFINITY};
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            if (ReconImage[p][q] > peak.value) peak = {p, q, ReconImage[p][q]};
    return peak;
}

TEST(Reconstruction, PointSourceComesBackAtItsOwnPixelByEitherMethod) {
    struct { int p, q; } points[] = {{90, 170}, {200, 60}};
    for (auto &pt : points) {
        PointSource(pt.p, pt.q);
        ReconstructSlice('1');
        Peak simple = Largest();
        EXPECT_EQ(simple.p, pt.p) << pt.p << "," << pt.q;
        EXPECT_EQ(simple.q, pt.q) << pt.p << "," << pt.q;
        // Most angles' lines pass through the pixel itself.
        EXPECT_GE(ReconMax, 100.0f) << pt.p << "," << pt.q;
        EXPECT_EQ(BackgroundLevel, (int)(ReconMax * BackgroundShare));

        SetRampFilter();
        ReconstructSlice('2');
        Peak filtered = Largest();
        EXPECT_EQ(filtered.p, pt.p) << pt.p << "," << pt.q;
        EXPECT_EQ(filtered.q, pt.q) << pt.p << "," << pt.q;
    }
}

TEST(Reconstruction, DeltaFilterChangesNothing) {
    PointSource(70, 180);
    for (int r = 0; r < Bins; r++)
        for (int a = 0; a < Angles; a++) SliceSinogram[r][a] += (float)((r * 7 + a * 3) % 11) * 0.125f;
    ReconstructSlice('1');
    static float simple[ImageSide][ImageSide];
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) simple[p][q] = ReconImage[p][q];
    float simpleMax = DisplayMax;
    SetDeltaFilter();
    ReconstructSlice('2');
    int differing = 0;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++) differing += memcmp(&simple[p][q], &ReconImage[p][q], sizeof(float)) != 0;
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(DisplayMax, simpleMax);
}

// ---- The same numbers in every build ----

static uint64_t StackHash() {
    uint64_t hash = FnvStart;
    for (int p = 0; p < ImageSide; p++)
        for (int q = 0; q < ImageSide; q++)
            for (int a = 0; a < Angles; a++) hash = Fnv1a(hash, &AngleStack[a][p][q], sizeof(float));
    return hash;
}

static uint64_t ReconHash() {
    uint64_t hash = FnvStart;
    for (int p = 0; p < ImageSide; p++) hash = Fnv1a(hash, ReconImage[p], ImageSide * sizeof(float));
    return hash;
}

// Adds the projection of a disc: a chord of 2 sqrt(R^2 - d^2) times its density.
// Only IEEE-exact operations, so the slice itself is the same in every build.
static void AddDisc(double p, double q, double radius, double density) {
    for (int a = 0; a < Angles; a++) {
        double c, s;
        RotationCosSin(AngleOf(a), &c, &s);
        double centre = RotationCentre + (p - RotationCentre) * c + (q - RotationCentre) * s;
        for (int r = 0; r < Bins; r++) {
            double d = r - centre;
            if (d * d < radius * radius) SliceSinogram[r][a] += (float)(2.0 * sqrt(radius * radius - d * d) * density);
        }
    }
}

static void SyntheticSlice() {
    ClearSlice();
    AddDisc(110.0, 150.0, 70.0, 0.5);   // body, off centre
    AddDisc(85.0, 170.0, 14.0, 2.0);    // hot spot
    AddDisc(150.0, 120.0, 9.0, -0.4);   // cold spot
    AddDisc(190.0, 60.0, 1.5, 20.0);    // a small bright source outside the body
}

struct Fingerprint { char method; uint64_t stack, recon; int background; };

TEST(Reconstruction, SameBitsInEveryBuild) {
    // Computed once and checked natively and in the Windows build alike: sin, cos,
    // the convolution and every truncation must not depend on compiler or runtime.
    const Fingerprint expected[] = {
        {'1', 0x112fa3bb134ec524ull, 0xc5635757a53407daull, 4701},
        {'2', 0xb971d5a44b6ef99full, 0x7cc6c98f9ae5d291ull, 245},
    };
    SyntheticSlice();
    SetRampFilter();
    for (auto &e : expected) {
        BackprojectAngles(e.method);
        uint64_t stack = StackHash();
        ReconstructSlice(e.method);
        EXPECT_EQ(stack, e.stack) << "method " << e.method << std::hex << " stack 0x" << stack;
        EXPECT_EQ(ReconHash(), e.recon) << "method " << e.method << std::hex << " recon 0x" << ReconHash();
        EXPECT_EQ(BackgroundLevel, e.background) << "method " << e.method;
    }
}

}  // namespace reconstruction_test
