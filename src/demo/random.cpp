#include "random.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

// The bounds are widened to 64 bits: b - a + 1 overflows an int for wide
// ranges, and a bound of 1.0 scaled by 2^31 does not fit one at all.
int64_t drawBetween(int64_t low, int64_t high)
{
    if (high < low)
        std::swap(low, high);
    return low + int64_t(rand()) % (high - low + 1);
}

constexpr double kFloatGrid = 2147483648.0;  // 2^31

// Truncates value * 2^31 towards zero. Values far outside any sensible range
// (and NaN) are pinned so the conversion and the range stay defined.
int64_t toGrid(float value)
{
    constexpr double limit = 2305843009213693952.0;  // 2^61
    const double scaled = double(value) * kFloatGrid;
    if (std::isnan(scaled))
        return 0;
    return int64_t(std::clamp(scaled, -limit, limit));
}

} // namespace

int get_rand(int a, int b)
{
    return int(drawBetween(a, b));
}

float get_rand_float(float lo, float hi)
{
    return float(double(drawBetween(toGrid(lo), toGrid(hi))) / kFloatGrid);
}
