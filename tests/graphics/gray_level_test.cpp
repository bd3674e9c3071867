#include "graphics/gray_level.h"

#include <gtest/gtest.h>

#include <limits>

namespace gray_level_test {

namespace {

struct GrayCase {
    const char *what;
    float value;
    float max;
    int level;
};

const float Inf = std::numeric_limits<float>::infinity();
const float NaN = std::numeric_limits<float>::quiet_NaN();

// Every case must also pass under the undefined-behaviour sanitizer: the quotients
// that fall outside the 32-bit range are the ones a plain conversion gets wrong.
const GrayCase GrayCases[] = {
    {"value equal to max is white", 7.5f, 7.5f, 255},
    {"half of max", 1.0f, 2.0f, 127},
    {"quotient 254.99 truncates", 25499.0f, 25500.0f, 254},
    {"just under one level stays zero", 0.9f, 255.0f, 0},
    {"zero is black", 0.0f, 100.0f, 0},
    {"negative value is black", -3.0f, 100.0f, 0},
    {"above max clamps to white", 2.0f, 1.0f, 255},
    {"both negative give a positive level", -2.0f, -1.0f, 255},
    {"max zero, positive value", 5.0f, 0.0f, 0},
    {"max zero, zero value", 0.0f, 0.0f, 0},
    {"max zero, negative value", -5.0f, 0.0f, 0},
    {"max negative zero, positive value", 1.0f, -0.0f, 0},
    {"max negative zero, negative value", -1.0f, -0.0f, 0},
    {"NaN value", NaN, 10.0f, 0},
    {"NaN max", 10.0f, NaN, 0},
    {"infinite value", Inf, 10.0f, 0},
    {"infinite max", 10.0f, Inf, 0},
    {"negative infinite value", -Inf, 10.0f, 0},
    {"huge value beyond the 32-bit range", 1e30f, 1.0f, 0},
    {"huge negative value", -1e30f, 1.0f, 0},
    {"largest float quotient below 2^31 is white", 2147483520.0f, 255.0f, 255},
    {"quotient of exactly 2^31 is out of range", 2147483648.0f, 255.0f, 0},
    {"tiny max", 1.0f, 1e-30f, 0},
};

TEST(GrayLevel, MapsQuotientsToLevels) {
    for (const GrayCase &c : GrayCases) {
        EXPECT_EQ(GrayLevel(c.value, c.max), c.level) << c.what;
    }
}

}  // namespace

}  // namespace gray_level_test
