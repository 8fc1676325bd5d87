#include "XML/XMLCurrency.h"

#include "XML/NumberText.h"

#include <cmath>

namespace zelvane {

bool XMLCurrency::read(String const& text) {
    setValue(readDouble(text));
    // Amounts too large to scale stay as they are rather than becoming infinite.
    double rounded = std::floor(*getValue() / 0.01 + 0.5) * 0.01;
    if (std::isfinite(rounded)) {
        setValue(rounded);
    }
    return true;
}

} // namespace zelvane
