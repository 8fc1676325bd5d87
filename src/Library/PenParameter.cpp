#include "Library/PenParameter.h"

#include "Attribute/Pen.h"
#include "Database/Specification.h"

#include <memory>

namespace zelvane {

Pen* PenParameter::getAttribute(Specification* specification) const {
    if (specification == nullptr) {
        return nullptr;
    }
    std::unique_ptr<Attribute> attribute(
        specification->load(AttributeLink(attribute_index(getValue(0, 0)), 1, specification)));
    auto* kind = dynamic_cast<Pen*>(attribute.get());
    if (kind != nullptr) {
        attribute.release();
    }
    return kind;
}

} // namespace zelvane
