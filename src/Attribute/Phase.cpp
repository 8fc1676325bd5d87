#include "Attribute/Phase.h"

#include "Environment/Host.h"

namespace zelvane {

String Phase::getName() const {
    short index = short(m_index);
    if (index < 1 || index > lastNamedIndex) {
        return String();
    }
    return host.getLocalString(namesResourceID, index);
}

} // namespace zelvane
