#include "Environment/Int64Setting.h"

#include "Environment/String.h"
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

bool Int64Setting::isNull() const {
    return m_value == 0;
}

int Int64Setting::getType() const {
    return int64Type;
}

void Int64Setting::setValue(String const& value) {
    m_value = ToInt64(value).getValue();
}

} // namespace zelvane
