#include "Remap/SpecificationList.h"

#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLTypeProxy.h"

#include <iterator>

namespace zelvane::remap {

// A copy starts no walk: the cursor belongs to the other list. Its rules are its own.
SpecificationList::SpecificationList(SpecificationList const& other)
    : Shipping(other), ShippingArray(other), XMLShipping(other), List<ObjectSpecification>(other),
      XMLArray(other), m_sourceName(other.m_sourceName), m_type(other.m_type), m_kept(other.m_kept) {
    for (ObjectSpecification* rule : *this) {
        adopt(rule);
    }
}

SpecificationList& SpecificationList::operator=(SpecificationList const& other) {
    if (this != &other) {
        List<ObjectSpecification>::operator=(other);
        for (ObjectSpecification* rule : *this) {
            adopt(rule);
        }
        m_indexed = false;
        m_sourceName = other.m_sourceName;
        m_type = other.m_type;
        m_kept = other.m_kept;
        m_walking = false;
    }
    return *this;
}

ObjectSpecification* SpecificationList::find(ObjectMap::Key const& key) const {
    return findByIndexKey(indexKey(key.first, key.second.toLowercase()));
}

std::string SpecificationList::indexKey(API_LibTypeID type, String const& loweredName) {
    std::string key(reinterpret_cast<char const*>(&type), sizeof type);
    key.append(loweredName.data(), loweredName.dataLength());
    return key;
}

ObjectSpecification* SpecificationList::findByIndexKey(std::string const& key) const {
    if (!m_indexed) {
        buildIndex();
    }
    auto found = m_index.find(key);
    return found != m_index.end() ? found->second : nullptr;
}

void SpecificationList::buildIndex() const {
    m_index.clear();
    m_index.reserve(size());
    for (ObjectSpecification* rule : *this) {
        if (rule != nullptr) {
            // The first rule of a key keeps its place: later ones are never answered.
            m_index.emplace(indexKey(rule->getMappedType(), rule->getOriginalName().toLowercase()), rule);
        }
    }
    m_indexed = true;
}

bool SpecificationList::isIndexed(ObjectSpecification const* rule) const {
    if (!m_indexed || rule == nullptr) {
        return false;
    }
    auto found = m_index.find(indexKey(rule->getMappedType(), rule->getOriginalName().toLowercase()));
    return found != m_index.end() && found->second == rule;
}

void SpecificationList::adopt(ObjectSpecification* rule) noexcept {
    if (rule != nullptr) {
        rule->m_owner.list = this;
    }
}

void SpecificationList::push_back(ObjectSpecification* rule) {
    insert(cend(), rule);
}

SpecificationList::iterator SpecificationList::insert(const_iterator position, ObjectSpecification* rule) {
    bool const last = position == cend();
    iterator inserted = List<ObjectSpecification>::insert(position, rule);
    adopt(rule);
    if (m_indexed && rule != nullptr) {
        try {
            // A rule of a new key answers it wherever it stands; one of a known key only when it
            // comes first, which an index of first rules cannot tell without a walk.
            auto added =
                m_index.emplace(indexKey(rule->getMappedType(), rule->getOriginalName().toLowercase()), rule);
            if (!added.second && !last) {
                m_indexed = false;
            }
        } catch (...) {
            m_indexed = false;
        }
    }
    return inserted;
}

SpecificationList::iterator SpecificationList::erase(const_iterator position) {
    if (isIndexed(*position)) {
        // A later rule of the same key may answer now.
        m_indexed = false;
    }
    return List<ObjectSpecification>::erase(position);
}

SpecificationList::iterator SpecificationList::erase(const_iterator first, const_iterator last) {
    if (first != last) {
        m_indexed = false;
    }
    return List<ObjectSpecification>::erase(first, last);
}

ObjectSpecification* SpecificationList::release(const_iterator position) {
    if (isIndexed(*position)) {
        m_indexed = false;
    }
    ObjectSpecification* rule = List<ObjectSpecification>::release(position);
    if (rule != nullptr) {
        rule->m_owner.list = nullptr;
    }
    return rule;
}

void SpecificationList::releaseAll() noexcept {
    for (ObjectSpecification* rule : *this) {
        if (rule != nullptr) {
            rule->m_owner.list = nullptr;
        }
    }
    m_indexed = false;
    m_walking = false;
    List<ObjectSpecification>::releaseAll();
}

void SpecificationList::clear() {
    m_walking = false;
    m_indexed = false;
    List<ObjectSpecification>::clear();
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
    m_sourceName.clear();
    m_type = ObjectMap::IFC;
    m_kept.clear();
    clear();
}

} // namespace zelvane::remap
