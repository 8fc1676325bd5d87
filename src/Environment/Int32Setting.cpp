#include "Environment/Int32Setting.h"

#include "Environment/String.h"
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

bool Int32Setting::isNull() const {
    return m_value == 0;
}

int Int32Setting::getType() const {
    return int32Type;
}

void Int32Setting::setValue(String const& value) {
    m_value = ToInt32(value).getValue();
}

} // namespace zelvane
