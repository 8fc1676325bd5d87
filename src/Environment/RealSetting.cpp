#include "Environment/RealSetting.h"

#include "Environment/String.h"
#include "Environment/ToString.h"

#include <cmath>

namespace zelvane {

namespace {

constexpr double equalityTolerance = 0.0001;

} // namespace

RealSetting& RealSetting::operator=(RealSetting const& other) {
    operator=(static_cast<Setting const&>(other));
    return *this;
}

RealSetting* RealSetting::clone() const {
    return new RealSetting(*this);
}

void RealSetting::getValue(String& value) const {
    value = ToString(m_value, ToString::DoubleMeasure(3), 0.0);
}

bool RealSetting::isEqualTo(Setting const& other) const {
    auto const* same = dynamic_cast<RealSetting const*>(&other);
    return same != nullptr && std::fabs(same->m_value - m_value) <= equalityTolerance;
}

bool RealSetting::isLessThan(Setting const& other) const {
    auto const* same = dynamic_cast<RealSetting const*>(&other);
    return same != nullptr && same->m_value - m_value > equalityTolerance;
}

bool RealSetting::isNull() const {
    return std::fabs(m_value) <= 1e-5;
}

int RealSetting::getType() const {
    return realType;
}

void RealSetting::setValue(String const& value) {
    ToDouble number(value);
    m_value = number.isValid() ? number.getValue() : 0.0;
}

} // namespace zelvane
