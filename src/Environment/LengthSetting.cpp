#include "Environment/LengthSetting.h"

#include "Environment/String.h"
#include "Environment/ToString.h"

namespace zelvane {

namespace {

constexpr short lengthMeasure = 6;

} // namespace

LengthSetting& LengthSetting::operator=(LengthSetting const& other) {
    operator=(static_cast<Setting const&>(other));
    return *this;
}

LengthSetting* LengthSetting::clone() const {
    return new LengthSetting(*this);
}

void LengthSetting::getValue(String& value) const {
    value = ToString(m_value, ToString::DoubleMeasure(lengthMeasure), 0.0);
}

int LengthSetting::getType() const {
    return lengthType;
}

void LengthSetting::setValue(String const& value) {
    m_value = ToDouble(value, ToString::DoubleMeasure(lengthMeasure)).getValue();
}

} // namespace zelvane
