// All rules of one named source of one kind, in the order they were made.
#pragma once

#include "Environment/List.h"
#include "Environment/String.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectSpecification.h"
#include "XML/XMLArray.h"

namespace zelvane::remap {

class SpecificationList : public List<ObjectSpecification>, public XMLArray {
public:
    // An IFC list without a name or rules.
    SpecificationList() = default;
    SpecificationList(String const& name, ObjectMap::Type type) : m_sourceName(name), m_type(type) {}
    // Copies the name and the kind and clones every rule.
    SpecificationList(SpecificationList const& other);
    SpecificationList& operator=(SpecificationList const& other);

    virtual SpecificationList* clone() const { return new SpecificationList(*this); }

    String const& getSourceName() const { return m_sourceName; }
    void setSourceName(String const& name) { m_sourceName = name; }
    ObjectMap::Type getType() const { return m_type; }
    void setType(ObjectMap::Type type) { m_type = type; }
    // The first rule whose name matches the key's (letter case aside) and whose type is the key's.
    ObjectSpecification* find(ObjectMap::Key const& key) const;
    // The same search for a lower-cased name.
    ObjectSpecification* find(API_LibTypeID type, String const& loweredName) const;

    char const* getTag() const override { return "specificationList"; }
    // The name and the kind (attributes), then one field per rule.
    std::size_t shippingSize() const override { return 2 + size(); }
    // A walk over the rules in order, as the writer makes, takes each in constant time: the walk
    // starts again at the first rule, so it never sees a rule list older than its start.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    using XMLArray::addShipping;
    // "sourceName" and "objectType" bind the attributes; each "objectSpecification" appends a rule.
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    // No name, kind IFC, no rules.
    void setDefault() override;
    // A list read without a name is refused.
    bool validate() override { return !m_sourceName.empty(); }
    // Drops the rules only.
    void clear() override {
        m_walking = false;
        List<ObjectSpecification>::clear();
    }

private:
    // The rule of the walk's last step and its position.
    const_iterator m_cursor;
    std::size_t m_cursorIndex = 0;
    bool m_walking = false;

    String m_sourceName;
    ObjectMap::Type m_type = ObjectMap::IFC;
};

} // namespace zelvane::remap
