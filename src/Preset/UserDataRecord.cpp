#include "Preset/UserDataRecord.h"

#include "XML/XMLDateTime.h"
#include "XML/XMLTypeProxy.h"

namespace zelvane {

namespace {

constexpr char const* cutTag = "cut";
constexpr char const* editTag = "edit";
constexpr char const* nameTag = "name";

} // namespace

UserDataRecord::UserDataRecord(String const& name) : m_name(name) {
    if (m_name.empty()) {
        setDefault();
    } else {
        markEditTime();
    }
}

Shipping* UserDataRecord::getShipping(std::size_t index, bool attributes) {
    switch (index) {
    case 0:
        // Absent reads as not deprecated, so only a deprecated record carries it.
        return m_deprecated ? new XMLTypeProxy<bool>(m_deprecated, cutTag, true) : nullptr;
    case 1: {
        auto* edit = new XMLDateTime(m_editTime, editTag, true);
        edit->setContent(XMLDateTime::dateTimeZone);
        return edit;
    }
    case 2:
        return attributes ? nullptr : new XMLTypeProxy<String>(m_name, nameTag);
    default:
        return nullptr;
    }
}

Shipping* UserDataRecord::getShipping(String const& tag, String const&) {
    if (tag == cutTag) {
        return new XMLTypeProxy<bool>(m_deprecated, cutTag, true);
    }
    if (tag == editTag) {
        return getShipping(1, true);
    }
    if (tag == nameTag) {
        return getShipping(2, false);
    }
    return nullptr;
}

void UserDataRecord::setDefault() {
    m_name.clear();
    m_editTime = Time();
    m_references = 0;
    m_deprecated = false;
}

bool UserDataRecord::operator==(UserDataRecord const& other) const {
    return m_name == other.m_name && m_editTime == other.m_editTime && m_deprecated == other.m_deprecated;
}

bool UserDataRecord::operator<(UserDataRecord const& other) const {
    if (m_name != other.m_name) {
        return m_name < other.m_name;
    }
    if (m_editTime != other.m_editTime) {
        return m_editTime < other.m_editTime;
    }
    return m_deprecated && !other.m_deprecated;
}

void UserDataRecord::setName(String const& name) {
    if (name != m_name) {
        markEditTime();
        m_name = name;
    }
}

void UserDataRecord::setDeprecated(bool deprecated) {
    if (deprecated != m_deprecated) {
        markEditTime();
        m_deprecated = deprecated;
    }
}

void UserDataRecord::markEditTime() {
    m_editTime.setToCurrent();
    m_editTime.setMicroseconds(0);
}

unsigned int UserDataRecord::removeReference() {
    if (m_references != 0) {
        --m_references;
    }
    return m_references;
}

} // namespace zelvane
