// The forms a binding takes for the reader and the writer, found through its own answers where
// it gives them, so that walking a document costs no cast per element.
#pragma once

#include "XML/ShippingContainer.h"
#include "XML/XMLShipping.h"
#include "XML/XMLUnit.h"

namespace zelvane {

inline XMLShipping* xmlShippingOf(Shipping* shipping) {
    if (shipping == nullptr) {
        return nullptr;
    }
    XMLShipping* named = shipping->asXMLShipping();
    return named != nullptr ? named : dynamic_cast<XMLShipping*>(shipping);
}

} // namespace zelvane
