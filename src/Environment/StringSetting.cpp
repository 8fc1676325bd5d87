#include "Environment/StringSetting.h"

#include "Environment/Time.h"
#include "Environment/TimeSetting.h"
#include "Environment/ToString.h"

namespace zelvane {

StringSetting& StringSetting::operator=(StringSetting const& other) {
    operator=(static_cast<Setting const&>(other));
    return *this;
}

StringSetting* StringSetting::clone() const {
    return new StringSetting(*this);
}

void StringSetting::getValue(String& value) const {
    value = m_value;
}

void StringSetting::getValue(double& value) const {
    ToDouble number(m_value);
    value = number.isValid() ? number.getValue() : 0.0;
}

void StringSetting::getValue(int& value) const {
    value = ToInt32(m_value).getValue();
}

void StringSetting::getValue(Time& value) const {
    TimeSetting date;
    date.setValue(m_value);
    date.getValue(value);
}

void StringSetting::getValue(long long& value) const {
    value = ToInt64(m_value).getValue();
}

bool StringSetting::isNull() const {
    return m_value.empty();
}

int StringSetting::getType() const {
    return stringType;
}

void StringSetting::setDefault() {
    m_value.clear();
}

void StringSetting::setValue(String const& value) {
    m_value = value;
}

void StringSetting::setValue(double value) {
    m_value = ToString(value);
}

void StringSetting::setValue(int const& value) {
    m_value = ToString(value);
}

void StringSetting::setValue(Time const& value) {
    TimeSetting(value).getValue(m_value);
}

void StringSetting::setValue(long long const& value) {
    m_value = ToString(value);
}

} // namespace zelvane
