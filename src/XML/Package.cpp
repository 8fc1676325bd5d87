#include "XML/Package.h"

#include <memory>

namespace zelvane {

Package* Package::cloneEmpty() const {
    std::unique_ptr<Package> copy(clone());
    if (copy != nullptr) {
        copy->clear();
    }
    return copy.release();
}

} // namespace zelvane
