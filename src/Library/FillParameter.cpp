#include "Library/FillParameter.h"

#include "Attribute/Fill.h"

#include <memory>

namespace zelvane {

Fill* FillParameter::getAttribute(Specification* specification) const {
    std::unique_ptr<Attribute> attribute(loadAttribute(specification, 4));
    auto* kind = dynamic_cast<Fill*>(attribute.get());
    if (kind != nullptr) {
        attribute.release();
    }
    return kind;
}

} // namespace zelvane
