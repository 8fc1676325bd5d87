// A leaf with text content.
#pragma once

#include "XML/Shipping.h"

namespace zelvane {

class ShippingUnit : public virtual Shipping {};

} // namespace zelvane
