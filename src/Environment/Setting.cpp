#include "Environment/Setting.h"

#include "Environment/String.h"

#include <cmath>
#include <limits>

namespace zelvane {

namespace {

template <typename Integer>
Integer truncated(double value) {
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

} // namespace

Setting& Setting::operator=(Setting const& other) {
    if (&other != this) {
        String text;
        other.getValue(text);
        setValue(text);
    }
    return *this;
}

void Setting::getValue(bool& value) const {
    int number = 0;
    getValue(number);
    value = number != 0;
}

void Setting::setValue(bool const& value) {
    setValue(value ? 1 : 0);
}

void Setting::setValue(char const* value) {
    setValue(value != nullptr ? String(value) : String());
}

int Setting::truncateToInt(double value) {
    return truncated<int>(value);
}

long long Setting::truncateToInt64(double value) {
    return truncated<long long>(value);
}

} // namespace zelvane
