#include "Library/LineStyleParameter.h"

#include "Attribute/LineStyle.h"
#include "Database/Specification.h"

#include <memory>

namespace zelvane {

LineStyle* LineStyleParameter::getAttribute(Specification* specification) const {
    if (specification == nullptr) {
        return nullptr;
    }
    std::unique_ptr<Attribute> attribute(
        specification->load(AttributeLink(attribute_index(getValue(0, 0)), 3, specification)));
    auto* kind = dynamic_cast<LineStyle*>(attribute.get());
    if (kind != nullptr) {
        attribute.release();
    }
    return kind;
}

} // namespace zelvane
