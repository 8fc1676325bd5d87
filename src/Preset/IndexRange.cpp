#include "Preset/IndexRange.h"

#include "Environment/String.h"
#include "XML/XMLTypeProxy.h"

namespace zelvane {

Shipping* IndexRange::getShipping(std::size_t index, bool) {
    switch (index) {
    case 0:
        return new XMLTypeProxy<unsigned long long>(m_row, "row", true);
    case 1:
        return new XMLTypeProxy<unsigned long long>(m_count, "count", true);
    default:
        return nullptr;
    }
}

Shipping* IndexRange::getShipping(String const& tag, String const&) {
    if (tag == "row") {
        return getShipping(0, true);
    }
    if (tag == "count") {
        return getShipping(1, true);
    }
    return nullptr;
}

} // namespace zelvane
