#include "XML/XMLCurrency.h"

#include "Environment/ToString.h"

#include <cmath>

namespace zelvane {

bool XMLCurrency::read(String const& text) {
    setValue(ToDouble(text).getValue());
    // Amounts too large to scale stay as they are rather than becoming infinite.
    double rounded = std::floor(*getValue() / 0.01 + 0.5) * 0.01;
    if (std::isfinite(rounded)) {
        setValue(rounded);
    }
    return true;
}

} // namespace zelvane
