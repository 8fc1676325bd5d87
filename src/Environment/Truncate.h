// A real cut toward zero into an integer type: NaN gives 0 and values beyond the type's range its
// nearest end, so that no conversion overflows.
#pragma once

#include <cmath>
#include <limits>

namespace zelvane {

template <typename Integer>
Integer truncateToInteger(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // Both limits are exact as doubles for 32 bits; for 64 bits the upper one rounds up to 2^63,
    // so compare against it with >=.
    constexpr double low = double(std::numeric_limits<Integer>::min());
    constexpr double high = double(std::numeric_limits<Integer>::max());
    if (value <= low) {
        return std::numeric_limits<Integer>::min();
    }
    if (value >= high) {
        return std::numeric_limits<Integer>::max();
    }
    return static_cast<Integer>(value);
}

} // namespace zelvane
