#include "Preset/CompareName.h"

#include "Preset/UserDataRecord.h"

namespace zelvane {

bool CompareName::less(UserDataRecord const* a, UserDataRecord const* b) {
    if (b == nullptr) {
        return false;
    }
    if (a == nullptr) {
        return true;
    }
    return a->getName().toLowercase() < b->getName().toLowercase();
}

} // namespace zelvane
