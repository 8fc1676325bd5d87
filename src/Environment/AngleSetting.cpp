#include "Environment/AngleSetting.h"

#include "Environment/String.h"
#include "Environment/ToString.h"

namespace zelvane {

namespace {

constexpr double degreesPerRadian = 57.29577951308232;
constexpr double radiansPerDegree = 0.017453292519943295;

} // namespace

AngleSetting& AngleSetting::operator=(AngleSetting const& other) {
    operator=(static_cast<Setting const&>(other));
    return *this;
}

AngleSetting* AngleSetting::clone() const {
    return new AngleSetting(*this);
}

void AngleSetting::getValue(String& value) const {
    value = ToString(m_value * degreesPerRadian, ToString::DoubleMeasure(getAngleType()), 0.0);
}

void AngleSetting::setValue(String const& value) {
    m_value = ToDouble(value, ToString::DoubleMeasure(getAngleType())).getValue() * radiansPerDegree;
}

short AngleSetting::getAngleType() const {
    return 4;
}

} // namespace zelvane
