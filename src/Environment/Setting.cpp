#include "Environment/Setting.h"

#include "Environment/String.h"
#include "Environment/Truncate.h"

namespace zelvane {

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
    return truncateToInteger<int>(value);
}

long long Setting::truncateToInt64(double value) {
    return truncateToInteger<long long>(value);
}

} // namespace zelvane
