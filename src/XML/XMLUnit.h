// A leaf that is written as the text of an element or as an attribute of its parent.
#pragma once

#include "XML/ShippingUnit.h"
#include "XML/XMLShipping.h"

namespace zelvane {

class XMLUnit : public ShippingUnit, public virtual XMLShipping {
public:
    explicit XMLUnit(bool attribute = false) : m_attribute(attribute) {}

    // Puts the text form of the value into `text`.
    virtual bool write(String& text) = 0;
    virtual bool isAttribute() const { return m_attribute; }
    virtual void setAttribute(bool attribute) { m_attribute = attribute; }
    XMLShipping* asXMLShipping() override { return this; }
    XMLUnit* asUnit() override { return this; }

private:
    bool m_attribute;
};

} // namespace zelvane
