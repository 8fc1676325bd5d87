#include "Remap/ObjectMapTransaction.h"

#include "ACAPI/ErrorCodes.hpp"
#include "Environment/Host.h"

namespace zelvane::remap {

ObjectMapTransaction::ObjectMapTransaction(ObjectMap::Type kind)
    : Transaction(host.getLocalString(32526, 1)), m_sourceKind(kind) {}

bool ObjectMapTransaction::initialise() {
    if (m_sourceKind == ObjectMap::none) {
        return false;
    }
    // Collecting the elements and the mapping dialog come next; until they exist the command ends
    // here with the project untouched.
    return false;
}

GSErrCode ObjectMapTransaction::run() {
    return m_elementMap.empty() ? NoError : GSErrCode(APIERR_GENERAL);
}

} // namespace zelvane::remap
