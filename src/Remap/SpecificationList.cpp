#include "Remap/SpecificationList.h"

#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLTypeProxy.h"

#include <iterator>

namespace zelvane::remap {

// A copy starts no walk: the cursor belongs to the other list.
SpecificationList::SpecificationList(SpecificationList const& other)
    : Shipping(other), ShippingArray(other), XMLShipping(other), List<ObjectSpecification>(other),
      XMLArray(other), m_sourceName(other.m_sourceName), m_type(other.m_type) {}

SpecificationList& SpecificationList::operator=(SpecificationList const& other) {
    if (this != &other) {
        List<ObjectSpecification>::operator=(other);
        m_sourceName = other.m_sourceName;
        m_type = other.m_type;
        m_walking = false;
    }
    return *this;
}

ObjectSpecification* SpecificationList::find(ObjectMap::Key const& key) const {
    return find(key.first, key.second.toLowercase());
}

ObjectSpecification* SpecificationList::find(API_LibTypeID type, String const& loweredName) const {
    for (ObjectSpecification* rule : *this) {
        if (rule->answers(type, loweredName)) {
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
        break;
    }
    std::size_t position = index - 2;
    if (attributes || position >= size()) {
        return nullptr;
    }
    if (position == 0) {
        m_cursor = cbegin();
    } else if (m_walking && position == m_cursorIndex + 1) {
        ++m_cursor;
    } else {
        m_cursor = std::next(cbegin(), static_cast<std::ptrdiff_t>(position));
    }
    m_cursorIndex = position;
    m_walking = true;
    return new XMLAssemblyProxy(**m_cursor);
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
    m_walking = false;
    m_sourceName.clear();
    m_type = ObjectMap::IFC;
    List<ObjectSpecification>::clear();
}

} // namespace zelvane::remap
