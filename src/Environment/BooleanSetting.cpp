#include "Environment/BooleanSetting.h"

#include "Environment/String.h"
#include "Environment/Time.h"
#include "Environment/ToString.h"

#include <cmath>

namespace zelvane {

BooleanSetting& BooleanSetting::operator=(BooleanSetting const& other) {
    operator=(static_cast<Setting const&>(other));
    return *this;
}

BooleanSetting* BooleanSetting::clone() const {
    return new BooleanSetting(*this);
}

void BooleanSetting::getValue(String& value) const {
    value = m_value ? "1" : "0";
}

void BooleanSetting::getValue(double& value) const {
    value = m_value ? 1.0 : 0.0;
}

void BooleanSetting::getValue(bool& value) const {
    value = m_value;
}

void BooleanSetting::getValue(int& value) const {
    value = m_value ? 1 : 0;
}

void BooleanSetting::getValue(Time& value) const {
    Time time(false);
    if (m_value) {
        time.setToCurrent();
        time.setToDate();
    }
    value = time;
}

void BooleanSetting::getValue(long long& value) const {
    value = m_value ? 1 : 0;
}

bool BooleanSetting::isNull() const {
    return !m_value;
}

int BooleanSetting::getType() const {
    return booleanType;
}

void BooleanSetting::setDefault() {
    m_value = false;
}

void BooleanSetting::setValue(String const& value) {
    if (value.empty() || value.toLowercase() == "false") {
        m_value = false;
        return;
    }
    ToDouble number(value);
    m_value = !number.isValid() || std::fabs(number.getValue()) > 1e-5;
}

void BooleanSetting::setValue(double value) {
    m_value = std::fabs(value) > 1e-5;
}

void BooleanSetting::setValue(bool const& value) {
    m_value = value;
}

void BooleanSetting::setValue(int const& value) {
    m_value = value != 0;
}

void BooleanSetting::setValue(Time const& value) {
    m_value = !value.isNull();
}

void BooleanSetting::setValue(long long const& value) {
    m_value = value != 0;
}

} // namespace zelvane
