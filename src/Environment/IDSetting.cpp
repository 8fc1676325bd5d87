#include "Environment/IDSetting.h"

#include "Environment/String.h"
#include "Environment/Time.h"

#include "ACAPI/Goodies.hpp"
#include "GSRoot/GuidCodec.hpp"

namespace zelvane {

static_assert(sizeof(Guid) == 16, "the host's GUID codec reads and writes the 16 bytes of a Guid");

IDSetting::IDSetting(String const& text, bool compressed) {
    setValue(text);
    m_compressed = compressed;
}

IDSetting& IDSetting::operator=(IDSetting const& other) {
    operator=(static_cast<Setting const&>(other));
    return *this;
}

IDSetting* IDSetting::clone() const {
    return new IDSetting(*this);
}

Setting& IDSetting::operator=(Setting const& other) {
    // Copied directly: a round trip through the compact text would lose the identifier whenever
    // the host fails to write it.
    if (auto const* same = dynamic_cast<IDSetting const*>(&other)) {
        m_value = same->m_value;
        m_compressed = same->m_compressed;
        return *this;
    }
    return Setting::operator=(other);
}

void IDSetting::getValue(String& value) const {
    value.clear();
    if (!m_compressed) {
        value = m_value.toString();
        return;
    }
    Guid guid = m_value;
    char text[CompactGuidLength + 1] = {};
    if (ACAPI_Goodies(GuidToCompactTextCode, &guid, text) == NoError) {
        value = text;
    }
}

void IDSetting::getValue(double& value) const {
    value = 0.0;
}

void IDSetting::getValue(int& value) const {
    value = 0;
}

void IDSetting::getValue(Time& value) const {
    value = Time(false);
}

void IDSetting::getValue(long long& value) const {
    value = 0;
}

bool IDSetting::isEqualTo(Setting const& other) const {
    auto const* same = dynamic_cast<IDSetting const*>(&other);
    if (same != nullptr && same->m_value == m_value) {
        return true;
    }
    String mine;
    String theirs;
    getValue(mine);
    other.getValue(theirs);
    return mine.toUppercase() == theirs.toUppercase();
}

bool IDSetting::isNull() const {
    return !m_value;
}

int IDSetting::getType() const {
    return idType;
}

void IDSetting::setDefault() {
    m_value = Guid();
    m_compressed = false;
}

void IDSetting::setValue(String const& value) {
    setDefault();
    unsigned int length = value.size();
    if (length == 36) {
        m_value = Guid(value);
    } else if (length == unsigned(CompactGuidLength)) {
        m_compressed = true;
        Guid guid;
        if (ACAPI_Goodies(CompactTextToGuidCode, const_cast<char*>(value.data()), &guid) == NoError) {
            m_value = guid;
        }
    }
}

void IDSetting::setValue(double) {
    setDefault();
}

void IDSetting::setValue(int const&) {
    setDefault();
}

void IDSetting::setValue(Time const&) {
    setDefault();
}

void IDSetting::setValue(long long const&) {
    setDefault();
}

} // namespace zelvane
