#include "Library/LineStyleParameter.h"

#include "Attribute/LineStyle.h"

#include <memory>

namespace zelvane {

LineStyle* LineStyleParameter::getAttribute(Specification* specification) const {
    std::unique_ptr<Attribute> attribute(loadAttribute(specification, 3));
    auto* kind = dynamic_cast<LineStyle*>(attribute.get());
    if (kind != nullptr) {
        attribute.release();
    }
    return kind;
}

} // namespace zelvane
