#include "Preset/PresetList.h"

#include "Environment/String.h"
#include "XML/XMLArrayProxy.h"

#include <iterator>

namespace zelvane {

Shipping* PresetList::getShipping(std::size_t index, bool attributes) {
    if (attributes || index >= size()) {
        return nullptr;
    }
    return new XMLArrayProxy(**std::next(begin(), static_cast<std::ptrdiff_t>(index)));
}

Shipping* PresetList::addShipping(String const& tag, String const&) {
    if (tag != Preset::tag) {
        return nullptr;
    }
    push_back(new Preset);
    return new XMLArrayProxy(*back());
}

} // namespace zelvane
