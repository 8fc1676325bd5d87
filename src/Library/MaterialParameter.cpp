#include "Library/MaterialParameter.h"

#include "Attribute/Finish.h"
#include "Database/Specification.h"

#include <memory>

namespace zelvane {

Finish* MaterialParameter::getAttribute(Specification* specification) const {
    if (specification == nullptr) {
        return nullptr;
    }
    std::unique_ptr<Attribute> attribute(
        specification->load(AttributeLink(attribute_index(getValue(0, 0)), 6, specification)));
    auto* kind = dynamic_cast<Finish*>(attribute.get());
    if (kind != nullptr) {
        attribute.release();
    }
    return kind;
}

} // namespace zelvane
