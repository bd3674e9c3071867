// Conversion of a double to a 32-bit integer by truncation toward zero, defined for
// every input. A NaN or a value outside the 32-bit range gives INT32_MIN, the value
// the processor's own conversion delivers, so callers that test the range treat it
// as "far below".
#pragma once
#include <stdint.h>

inline int32_t TruncateToInt32(double value) {
    // Both bounds are exact doubles; NaN fails both comparisons.
    if (value > -2147483649.0 && value < 2147483648.0) return (int32_t)value;
    return INT32_MIN;
}
