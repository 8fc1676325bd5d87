#include "Library/PenParameter.h"

#include "Attribute/Pen.h"

#include <memory>

namespace zelvane {

Pen* PenParameter::getAttribute(Specification* specification) const {
    std::unique_ptr<Attribute> attribute(loadAttribute(specification, 1));
    auto* kind = dynamic_cast<Pen*>(attribute.get());
    if (kind != nullptr) {
        attribute.release();
    }
    return kind;
}

} // namespace zelvane
