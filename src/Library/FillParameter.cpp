#include "Library/FillParameter.h"

#include "Attribute/Fill.h"
#include "Database/Specification.h"

#include <memory>

namespace zelvane {

Fill* FillParameter::getAttribute(Specification* specification) const {
    if (specification == nullptr) {
        return nullptr;
    }
    std::unique_ptr<Attribute> attribute(
        specification->load(AttributeLink(attribute_index(getValue(0, 0)), 4, specification)));
    auto* kind = dynamic_cast<Fill*>(attribute.get());
    if (kind != nullptr) {
        attribute.release();
    }
    return kind;
}

} // namespace zelvane
