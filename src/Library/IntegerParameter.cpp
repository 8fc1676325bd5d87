#include "Library/IntegerParameter.h"

#include "Database/Specification.h"

namespace zelvane {

Attribute* IntegerParameter::loadAttribute(Specification* specification, attribute_id kind) const {
    if (specification == nullptr) {
        return nullptr;
    }
    return specification->load(AttributeLink(attribute_index(getValue(0, 0)), kind, specification));
}

} // namespace zelvane
