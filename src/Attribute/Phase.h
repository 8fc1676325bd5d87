// A renovation phase (existing, new, demolished and further ones by index). It is an attribute of
// no host table (type 0); its name is the localised text of its index.
#pragma once

#include "Attribute/Attribute.h"

namespace zelvane {

class Phase : public Attribute {
public:
    // The localised names' string list.
    static constexpr short namesResourceID = 32710;
    static constexpr short lastNamedIndex = 25;

    explicit Phase(attribute_index index = attribute_index()) : m_index(index) {}

    static Phase existing() { return Phase(attribute_index(1)); }
    static Phase proposed() { return Phase(attribute_index(2)); }
    static Phase demolition() { return Phase(attribute_index(3)); }

    Phase* clone() const override { return new Phase(*this); }
    attribute_id getType() const override { return ID; }
    attribute_index getIndex() const override { return m_index; }
    // Empty outside indexes 1 to 25.
    String getName() const override;
    API_Attr_Head& getHead() override { return m_head; }
    const API_Attr_Head& getHead() const override { return m_head; }
    API_Attribute* getData() const override { return nullptr; }

    bool operator==(const Phase& other) const { return short(m_index) == short(other.m_index); }
    bool operator!=(const Phase& other) const { return !(*this == other); }

protected:
    std::size_t getRecordSize() const override { return sizeof(API_Attr_Head); }

private:
    API_Attr_Head m_head;
    attribute_index m_index;
};

} // namespace zelvane
