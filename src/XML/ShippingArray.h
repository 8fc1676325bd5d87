// A container of repeated elements.
#pragma once

#include "XML/ShippingContainer.h"

namespace zelvane {

class ShippingArray : public ShippingContainer {
public:
    bool isRepeating() const override { return true; }
};

} // namespace zelvane
