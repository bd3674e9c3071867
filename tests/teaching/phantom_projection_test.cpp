// The generated projections against a numerical integral of the phantom's activity along
// the line each bin stands for: bin r of angle a in slice s integrates slice z = s along
// x cos(theta) + y sin(theta) = r - 127.5, theta = a x 1.40625 degrees.
#include <math.h>

#include <gtest/gtest.h>

#include "teaching/phantoms.h"
#include "teaching/sample_volume.h"

namespace phantom_projection_test {

const double Step = 0.002;    // pixels between samples along the line
const double Reach = 90.0;    // both phantoms lie within this distance of the axis

// Midpoint rule along the line; each crossed edge costs at most Step x its activity.
static double NumericalLineIntegral(double z, double thetaDegrees, double t) {
    double c = cos(thetaDegrees * Pi / 180.0);
    double s = sin(thetaDegrees * Pi / 180.0);
    double sum = 0.0;
    for (double u = -Reach + 0.5 * Step; u < Reach; u += Step)
        sum += PhantomDensity(t * c - u * s, t * s + u * c, z);
    return sum * Step;
}

struct Bin { int s, a, r; const char *through; };

static void ExpectBinsMatch(const Bin *bins, int count) {
    for (int i = 0; i < count; i++) {
        const Bin &b = bins[i];
        double expected = NumericalLineIntegral(b.s, b.a * AngleStepDegrees, b.r - RotationCentre);
        EXPECT_NEAR(SampleVolume[b.s][b.a][b.r] / VolumeScale, expected, 0.03)
            << b.through << ": slice " << b.s << " angle " << b.a << " bin " << b.r;
    }
}

TEST(PhantomProjection, HeadBinsAreItsLineIntegrals) {
    BuildHeadPhantom();
    ProjectPhantom(1000.0);
    EXPECT_GT(VolumeScale, 0.0);
    const Bin bins[] = {
        {43, 0, 99, "upright line through the large hot sphere, left of centre"},
        {43, 64, 157, "level line through the large hot sphere, above centre"},
        {43, 0, 157, "the mirror of the first line"},
        {43, 32, 128, "diagonal through the centre"},
        {43, 100, 60, "steep line near the edge"},
        {43, 0, 62, "grazing the scalp on the left"},
        {43, 64, 50, "grazing the scalp at the bottom"},
        {43, 64, 83, "through the small hot sphere low in the slice"},
        {52, 10, 120, "through the tilted ventricles"},
        {52, 117, 136, "through the other ventricle"},
        {62, 45, 150, "upper hot sphere"},
        {26, 80, 110, "lower hot sphere"},
        {18, 64, 88, "the flat region at the back"},
        {4, 0, 128, "the lowest slice of the head"},
        {84, 64, 128, "the highest slice of the head"},
        {0, 10, 128, "below the head"},
    };
    ExpectBinsMatch(bins, sizeof bins / sizeof bins[0]);
}

TEST(PhantomProjection, RodBinsAreItsLineIntegrals) {
    BuildRodPhantom();
    ProjectPhantom(600.0);
    const Bin bins[] = {
        {43, 0, 128, "upright through the axis"},
        {43, 64, 160, "level through the 12-pixel rods"},
        {43, 64, 90, "level through the small rods"},
        {43, 21, 100, "oblique through several groups"},
        {43, 43, 140, "oblique the other way"},
        {19, 90, 128, "lowest slice with rods"},
        {70, 64, 160, "above the rods"},
        {9, 0, 128, "lowest slice of the cylinder"},
        {8, 0, 128, "below the cylinder"},
    };
    ExpectBinsMatch(bins, sizeof bins / sizeof bins[0]);
}

TEST(PhantomProjection, ActivityIsNeverNegativeAndPeaksMatchTheirTargets) {
    BuildHeadPhantom();
    for (int z = 0; z < Slices; z++)
        for (double y = -80.0; y <= 80.0; y += 0.5)
            for (double x = -70.0; x <= 70.0; x += 0.5)
                ASSERT_GE(PhantomDensity(x, y, z), -1e-12) << x << " " << y << " " << z;

    // Both phantoms stay inside the bins every view of the program shows (48 to 223),
    // and their largest samples are the chosen peaks.
    for (int p = 0; p < 2; p++) {
        if (p == 0) BuildHeadPhantom();
        else BuildRodPhantom();
        double peak = p == 0 ? 1000.0 : 600.0;
        ProjectPhantom(peak);
        float largest = 0.0f, smallest = 0.0f, outside = 0.0f;
        for (int s = 0; s < Slices; s++)
            for (int a = 0; a < Angles; a++)
                for (int r = 0; r < Bins; r++) {
                    float v = SampleVolume[s][a][r];
                    largest = fmaxf(largest, v);
                    smallest = fminf(smallest, v);
                    if (r < 48 || r > 223) outside = fmaxf(outside, v);
                }
        EXPECT_EQ(largest, (float)peak) << p;
        EXPECT_EQ(smallest, 0.0f) << p;
        EXPECT_EQ(outside, 0.0f) << p;
    }
}

}  // namespace phantom_projection_test
