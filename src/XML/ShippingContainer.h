// An object made of fields (child objects) rather than text.
#pragma once

#include "XML/Shipping.h"

#include <cstddef>

namespace zelvane {

class KeptMarkup;

class ShippingContainer : public virtual Shipping {
public:
    virtual std::size_t shippingSize() const = 0;
    virtual bool isRepeating() const = 0;
    // Whether any field may be written as an attribute; attribute leaves of a container answering
    // false are written nowhere.
    virtual bool hasAttributes() const { return true; }
    // Lets an array stop the writer before shippingSize() fields.
    virtual bool hasEnded() const { return false; }
    // A new binding of field `index`, owned by the caller, or null when there is no such field for
    // this pass (attributes: the writer's attribute pass, else its element pass).
    virtual Shipping* getShipping(std::size_t index, bool attributes) = 0;
    void setDefault() override = 0;
    // Text between the child elements of a container is ignored.
    bool read(String const&) override { return true; }
    // A container answering true is handed, as written and in document order, what its element
    // holds beside its fields: comments, processing instructions, CDATA sections and text that is
    // not white space (trimmed of it). Others are never handed them.
    virtual bool keepsMarkup() const { return false; }
    virtual void keepMarkup(String const&) {}
    // Such a container is also handed, once a child element bound to a field was read, that
    // element as written (from its start tag to its end tag): one that keeps an earlier element
    // of a field read again keeps it from this.
    virtual void fieldRead(Shipping&, String const&) {}
    // Where the reader keeps, and the writer finds again, what the element holds that no field
    // takes; null (the default) skips it.
    virtual KeptMarkup* getKept() { return nullptr; }
    ShippingContainer* asContainer() override { return this; }
};

} // namespace zelvane
