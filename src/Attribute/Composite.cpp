#include "Attribute/Composite.h"

namespace zelvane {

attribute_index Composite::getIndex() const {
    attribute_index index = Attribute::getLink().getIndex();
    return attribute_index(short(-short(index)), index.getExtension());
}

} // namespace zelvane
