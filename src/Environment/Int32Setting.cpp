#include "Environment/Int32Setting.h"

#include "Environment/String.h"
#include "Environment/Time.h"
#include "Environment/TimeSetting.h"
#include "Environment/ToString.h"

namespace zelvane {

Int32Setting& Int32Setting::operator=(Int32Setting const& other) {
    operator=(static_cast<Setting const&>(other));
    return *this;
}

Int32Setting* Int32Setting::clone() const {
    return new Int32Setting(*this);
}

void Int32Setting::getValue(String& value) const {
    value = ToString(m_value, ToString::IntegerMeasure(8));
}

void Int32Setting::getValue(double& value) const {
    value = m_value;
}

void Int32Setting::getValue(int& value) const {
    value = m_value;
}

void Int32Setting::getValue(Time& value) const {
    TimeSetting seconds;
    seconds.setValue(m_value);
    seconds.getValue(value);
}

void Int32Setting::getValue(long long& value) const {
    value = m_value;
}

bool Int32Setting::isNull() const {
    return m_value == 0;
}

int Int32Setting::getType() const {
    return int32Type;
}

void Int32Setting::setDefault() {
    m_value = 0;
}

void Int32Setting::setValue(String const& value) {
    m_value = ToInt32(value).getValue();
}

void Int32Setting::setValue(double value) {
    m_value = truncateToInt(value);
}

void Int32Setting::setValue(int const& value) {
    m_value = value;
}

void Int32Setting::setValue(Time const& value) {
    TimeSetting(value).getValue(m_value);
}

void Int32Setting::setValue(long long const& value) {
    m_value = static_cast<int>(static_cast<unsigned int>(value));
}

} // namespace zelvane
