// The generator's own trigonometry and exponential: close to the C library's, and exact
// where the filters rely on exact zeros and ones.
#include <math.h>

#include <gtest/gtest.h>

#include "teaching/portable_math.h"
#include "recon/geometry.h"

namespace portable_math_test {

TEST(PortableMath, CosineAndSineAgreeWithTheLibraryAtEveryUsedAngle) {
    // Projection angles, the bodies' tilts and the rod groups' directions, plus
    // negative, octant-boundary and beyond-a-turn angles.
    double angles[200];
    int n = 0;
    for (int a = 0; a < 128; a++) angles[n++] = a * 1.40625;
    const double others[] = {-20.0, 20.0, 45.0, 89.999, 90.0, 150.0, 210.0, 270.0, 330.0,
                             359.5, 360.0, 725.0, -405.0, 1.0e-9};
    for (double d : others) angles[n++] = d;
    for (int i = 0; i < n; i++) {
        double x = angles[i] * (Pi / 180.0);
        // The library works from the rounded radians, the generator from exact degrees.
        EXPECT_NEAR(CosDegrees(angles[i]), cos(x), 2e-15) << angles[i];
        EXPECT_NEAR(SinDegrees(angles[i]), sin(x), 2e-15) << angles[i];
    }
}

TEST(PortableMath, WholeAndHalfTurnsOfHalfTurnsAreExact) {
    for (int k = -3; k <= 260; k++) {
        EXPECT_EQ(SinDegrees(180.0 * k), 0.0) << k;
        EXPECT_EQ(CosDegrees(180.0 * k), (k % 2 == 0) ? 1.0 : -1.0) << k;
        EXPECT_EQ(CosDegrees(180.0 * k + 90.0), 0.0) << k;
        EXPECT_EQ(SinDegrees(180.0 * k + 90.0), (k % 2 == 0) ? 1.0 : -1.0) << k;
    }
}

TEST(PortableMath, UnreducibleAnglesGiveNaNInsteadOfLooping) {
    const double bad[] = {NAN, INFINITY, -INFINITY, 1.0e300};
    for (double d : bad) {
        EXPECT_TRUE(isnan(CosDegrees(d))) << d;
        EXPECT_TRUE(isnan(SinDegrees(d))) << d;
    }
}

TEST(PortableMath, ExpOfNegativeAgreesWithTheLibrary) {
    const double xs[] = {0.0, 1.0e-6, 0.25, 0.5, 0.5000001, 1.0, 3.3, 15.99, 16.0, 40.0, 64.0};
    for (double x : xs) EXPECT_NEAR(ExpOfNegative(x) / exp(-x), 1.0, 1e-13) << x;
}

}  // namespace portable_math_test
