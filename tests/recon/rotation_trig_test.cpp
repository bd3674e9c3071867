// Cosine and sine of the rotation angles, correctly rounded in every build.
#include <gtest/gtest.h>
#include <math.h>

#include "recon/backprojection.h"
#include "recon/rotation_trig.h"

namespace rotation_trig_test {

static double AngleOf(int a) { return ((double)a * AngleStepDegrees) * RadiansPerDegree; }

TEST(RotationTrig, CorrectlyRoundedAtChosenAngles) {
    // Reference values rounded from a 60-digit decimal evaluation of the series. At
    // 45 degrees the cosine is one unit above the sine, which decides on which side
    // of a pixel edge the diagonal of layer 32 falls.
    struct { int a; double c, s; } cases[] = {
        {0, 1.0, 0.0},
        {1, 0x1.ffd886084cd0dp-1, 0x1.92155f7a3667ep-6},
        {32, 0x1.6a09e667f3bcdp-1, 0x1.6a09e667f3bccp-1},
        {63, 0x1.92155f7a36677p-6, 0x1.ffd886084cd0dp-1},
        {64, 0x1.1a62633145c07p-54, 1.0},
        {65, -0x1.92155f7a36694p-6, 0x1.ffd886084cd0dp-1},
        {96, -0x1.6a09e667f3bccp-1, 0x1.6a09e667f3bcdp-1},
        {127, -0x1.ffd886084cd0dp-1, 0x1.92155f7a36689p-6},
    };
    for (auto &c : cases) {
        double cosine, sine;
        RotationCosSin(AngleOf(c.a), &cosine, &sine);
        EXPECT_EQ(cosine, c.c) << "angle " << c.a;
        EXPECT_EQ(sine, c.s) << "angle " << c.a;
    }
    double cosine, sine;
    RotationCosSin(3.141592653589793, &cosine, &sine);
    EXPECT_EQ(cosine, -1.0);
    EXPECT_EQ(sine, 0x1.1a62633145c07p-53);
}

#ifndef _WIN32
// glibc rounds all 128 angles correctly too; other runtimes need not.
TEST(RotationTrig, AgreesWithTheHostLibraryAtEveryAngle) {
    for (int a = 0; a < 128; a++) {
        double cosine, sine;
        RotationCosSin(AngleOf(a), &cosine, &sine);
        EXPECT_EQ(cosine, cos(AngleOf(a))) << "angle " << a;
        EXPECT_EQ(sine, sin(AngleOf(a))) << "angle " << a;
    }
}
#endif

}  // namespace rotation_trig_test
