// Names one attribute of an attribute set: its type, its index and the set it belongs to.
#pragma once

#include "ACAPI/Attributes.hpp"
#include "Attribute/AttributeID.h"
#include "Attribute/AttributeIndex.h"

namespace zelvane {

class Specification;
class String;

class AttributeLink {
public:
    AttributeLink() = default;
    // In every form, a null set becomes the front project's when the index is not 0.
    explicit AttributeLink(const API_Attr_Head& head, Specification* specification = nullptr);
    AttributeLink(attribute_index index, attribute_id type, Specification* specification = nullptr);
    AttributeLink(int index, attribute_id type, Specification* specification = nullptr);
    // The attribute of that type and exact name in the host; index 0 when there is none.
    AttributeLink(const String& name, attribute_id type, Specification* specification = nullptr);
    AttributeLink(const AttributeLink&) = default;
    AttributeLink& operator=(const AttributeLink&) = default;
    // Index and type from the header; no set.
    AttributeLink& operator=(const API_Attr_Head& head);
    virtual ~AttributeLink() = default;

    virtual AttributeLink* clone() const { return new AttributeLink(*this); }

    bool isValid() const { return m_type != 0 && m_index != 0; }
    attribute_index getIndex() const { return m_index; }
    void setIndex(attribute_index index) { m_index = index; }
    attribute_id getType() const { return m_type; }
    void setType(attribute_id type) { m_type = type; }
    Specification* getSpecification() const { return m_specification; }
    // The set the link belongs to, as iterators ask for it.
    Specification* getSource() const { return m_specification; }
    void setSpecification(Specification* specification) { m_specification = specification; }

    // A cleared header with the type and index.
    API_Attr_Head getHeader() const;
    // Type and index from the header (extension byte 0); the set is kept.
    void setHeader(const API_Attr_Head& head);

    // Same 16-bit index, type and set.
    bool operator==(const AttributeLink& other) const;
    bool operator!=(const AttributeLink& other) const { return !(*this == other); }

private:
    void defaultSpecification();

    attribute_index m_index;
    Specification* m_specification = nullptr; // not owned
    attribute_id m_type = 0;
};

} // namespace zelvane
