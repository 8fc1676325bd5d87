// Entries created per child element.
#pragma once

#include "XML/ShippingArray.h"
#include "XML/XMLShipping.h"

namespace zelvane {

class XMLArray : public virtual ShippingArray, public virtual XMLShipping {
public:
    virtual Shipping* addShipping() { return nullptr; }
    // Creates a new entry for a child element with that tag and answers a new binding of it, owned
    // by the caller; null when the element is not an entry of this array. The entry itself belongs
    // to the array.
    virtual Shipping* addShipping(String const& tag, String const& nameSpace) = 0;
    // The binding of an attribute of that name, likewise; by default addShipping's. Only a leaf
    // takes an attribute.
    virtual Shipping* addAttribute(String const& tag, String const& nameSpace) {
        return addShipping(tag, nameSpace);
    }
    XMLShipping* asXMLShipping() override { return this; }
};

} // namespace zelvane
