// A container of fixed fields.
#pragma once

#include "XML/ShippingContainer.h"

namespace zelvane {

class ShippingAssembly : public ShippingContainer {
public:
    bool isRepeating() const override { return false; }
};

} // namespace zelvane
