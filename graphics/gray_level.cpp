// The grey level of a sample, platform-free so that its arithmetic can be checked natively.
#include "graphics/gray_level.h"

#include "graphics/truncation.h"

const int GrayMax = 255;  // level of white

int GrayLevel(float value, float max) {
    // A NaN quotient or one beyond the 32-bit range (max 0, for instance) truncates
    // to INT32_MIN and so comes out black.
    int32_t level = TruncateToInt32((double)value * 255.0 / (double)max);
    if (level > GrayMax) return GrayMax;
    if (level < 0) return 0;
    return level;
}
