#include "Preset/DeletedRecord.h"

#include "Environment/Host.h"
#include "XML/XMLTypeProxy.h"

namespace zelvane {

namespace {

constexpr char const* databaseIDTag = "databaseID";

String defaultName(bool noName) {
    return noName ? String() : host.getLocalString(32703, 23);
}

} // namespace

DeletedRecord::DeletedRecord(bool noName) : UserDataRecord(defaultName(noName)) {
    DeletedRecord::setDefault();
}

Shipping* DeletedRecord::getShipping(std::size_t index, bool attributes) {
    if (index != 3) {
        return UserDataRecord::getShipping(index, attributes);
    }
    return m_databaseID != 0 ? new XMLTypeProxy<unsigned int>(m_databaseID, databaseIDTag, true) : nullptr;
}

Shipping* DeletedRecord::getShipping(String const& tag, String const& nameSpace) {
    if (tag == databaseIDTag) {
        return new XMLTypeProxy<unsigned int>(m_databaseID, databaseIDTag, true);
    }
    return UserDataRecord::getShipping(tag, nameSpace);
}

void DeletedRecord::setDefault() {
    m_databaseID = 0;
}

} // namespace zelvane
