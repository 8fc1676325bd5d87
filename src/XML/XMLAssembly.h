// Fixed fields found by tag.
#pragma once

#include "XML/ShippingAssembly.h"
#include "XML/XMLShipping.h"

namespace zelvane {

class XMLAssembly : public virtual ShippingAssembly, public virtual XMLShipping {
public:
    using ShippingContainer::getShipping;
    // A new binding of the field whose tag (and namespace, where the field has one) matches, owned
    // by the caller; null when no field matches.
    virtual Shipping* getShipping(String const& tag, String const& nameSpace) = 0;
    // The binding of an attribute of that name, likewise; by default the field of that tag. Only
    // a leaf takes an attribute.
    virtual Shipping* getAttribute(String const& tag, String const& nameSpace) {
        return getShipping(tag, nameSpace);
    }
    XMLShipping* asXMLShipping() override { return this; }
};

} // namespace zelvane
