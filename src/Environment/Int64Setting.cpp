#include "Environment/Int64Setting.h"

#include "Environment/String.h"
#include "Environment/Time.h"
#include "Environment/TimeSetting.h"
#include "Environment/ToString.h"

namespace zelvane {

Int64Setting& Int64Setting::operator=(Int64Setting const& other) {
    operator=(static_cast<Setting const&>(other));
    return *this;
}

Int64Setting* Int64Setting::clone() const {
    return new Int64Setting(*this);
}

void Int64Setting::getValue(String& value) const {
    value = ToString(m_value);
}

void Int64Setting::getValue(double& value) const {
    value = double(m_value);
}

void Int64Setting::getValue(int& value) const {
    value = static_cast<int>(static_cast<unsigned int>(m_value));
}

void Int64Setting::getValue(Time& value) const {
    TimeSetting seconds;
    seconds.setValue(m_value);
    seconds.getValue(value);
}

void Int64Setting::getValue(long long& value) const {
    value = m_value;
}

bool Int64Setting::isNull() const {
    return m_value == 0;
}

int Int64Setting::getType() const {
    return int64Type;
}

void Int64Setting::setDefault() {
    m_value = 0;
}

void Int64Setting::setValue(String const& value) {
    m_value = ToInt64(value).getValue();
}

void Int64Setting::setValue(double value) {
    m_value = truncateToInt64(value);
}

void Int64Setting::setValue(int const& value) {
    m_value = value;
}

void Int64Setting::setValue(Time const& value) {
    TimeSetting(value).getValue(m_value);
}

void Int64Setting::setValue(long long const& value) {
    m_value = value;
}

} // namespace zelvane
