#include "levels/CellIndex.h"

#include <cmath>
#include <limits>

std::int32_t cellIndex(float quotient)
{
    constexpr std::int32_t outside = std::numeric_limits<std::int32_t>::min();
    if (std::isnan(quotient))
        return outside;
    // Every float is exact as a double, so the range test sees the true truncated value.
    const double whole = std::trunc(static_cast<double>(quotient));
    if (whole < -2147483648.0 || whole > 2147483647.0)
        return outside;
    return static_cast<std::int32_t>(whole);
}
