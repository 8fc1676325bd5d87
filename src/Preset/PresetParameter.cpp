#include "Preset/PresetParameter.h"

#include "XML/XMLTypeProxy.h"

#include <limits>

namespace zelvane {

namespace {

constexpr char const* nameTag = "name";
constexpr char const* rowTag = "row";
constexpr char const* columnTag = "column";

} // namespace

Shipping* PresetParameter::getShipping(std::size_t index, bool attributes) {
    switch (index) {
    case 0:
        return new XMLTypeProxy<String>(m_name, nameTag, true);
    case 1:
        return attributes ? nullptr : new XMLTypeProxy<unsigned long long>(m_row, rowTag);
    case 2:
        return attributes ? nullptr : new XMLTypeProxy<unsigned long long>(m_column, columnTag);
    default:
        return nullptr;
    }
}

Shipping* PresetParameter::getShipping(String const& tag, String const&) {
    if (tag == nameTag) {
        return getShipping(0, true);
    }
    if (tag == rowTag) {
        return getShipping(1, false);
    }
    if (tag == columnTag) {
        return getShipping(2, false);
    }
    return nullptr;
}

void PresetParameter::setDefault() {
    m_name.clear();
    m_row = 0;
    m_column = 0;
}

bool PresetParameter::rowOf(std::uint64_t instance, std::size_t& row) const {
    if (instance > std::numeric_limits<std::size_t>::max() - m_row) {
        return false;
    }
    row = static_cast<std::size_t>(m_row + instance);
    return true;
}

} // namespace zelvane
