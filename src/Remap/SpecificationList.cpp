#include "Remap/SpecificationList.h"

#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLTypeProxy.h"

#include <iterator>

namespace zelvane::remap {

SpecificationList::SpecificationList(SpecificationList const& other) = default;
SpecificationList& SpecificationList::operator=(SpecificationList const& other) = default;

ObjectSpecification* SpecificationList::find(ObjectMap::Key const& key) const {
    for (ObjectSpecification* rule : *this) {
        if (rule->matches(key)) {
            return rule;
        }
    }
    return nullptr;
}

Shipping* SpecificationList::getShipping(std::size_t index, bool attributes) {
    switch (index) {
    case 0:
        return new XMLTypeProxy<String>(m_sourceName, "sourceName", true);
    case 1:
        return new XMLTypeProxy<ObjectMap::Type>(m_type, "objectType", true);
    default:
        if (attributes || index - 2 >= size()) {
            return nullptr;
        }
        return new XMLAssemblyProxy(**std::next(begin(), static_cast<std::ptrdiff_t>(index - 2)));
    }
}

Shipping* SpecificationList::addShipping(String const& tag, String const&) {
    if (tag == "sourceName") {
        return getShipping(0, true);
    }
    if (tag == "objectType") {
        return getShipping(1, true);
    }
    if (tag == "objectSpecification") {
        push_back(new ObjectSpecification);
        return new XMLAssemblyProxy(*back());
    }
    return nullptr;
}

void SpecificationList::setDefault() {
    m_sourceName.clear();
    m_type = ObjectMap::IFC;
    List<ObjectSpecification>::clear();
}

} // namespace zelvane::remap
