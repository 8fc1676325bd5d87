#include "XML/XMLDecimal.h"

#include "XML/XMLNumber.h"

namespace zelvane {

bool XMLDecimal::write(String& text) {
    text = fixedPoint(*getValue(), 6);
    return true;
}

} // namespace zelvane
