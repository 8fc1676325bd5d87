#include "Preset/PresetField.h"

#include "Environment/String.h"
#include "XML/XMLTypeProxy.h"

namespace zelvane {

Shipping* PresetField::getShipping(std::size_t index, bool attributes) {
    if (index == 0) {
        return new XMLTypeProxy<bool>(m_ignored, ignoredTag, true);
    }
    if (attributes || m_ignored) {
        return nullptr;
    }
    return getValueShipping(index - 1);
}

Shipping* PresetField::addShipping(String const& tag, String const&) {
    return tag == ignoredTag ? getShipping(0, true) : nullptr;
}

} // namespace zelvane
