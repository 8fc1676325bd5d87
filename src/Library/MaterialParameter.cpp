#include "Library/MaterialParameter.h"

#include "Attribute/Finish.h"

#include <memory>

namespace zelvane {

Finish* MaterialParameter::getAttribute(Specification* specification) const {
    std::unique_ptr<Attribute> attribute(loadAttribute(specification, 6));
    auto* kind = dynamic_cast<Finish*>(attribute.get());
    if (kind != nullptr) {
        attribute.release();
    }
    return kind;
}

} // namespace zelvane
