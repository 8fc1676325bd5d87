#include "Environment/MenuSetting.h"

#include "Environment/Time.h"

namespace zelvane {

MenuSetting& MenuSetting::operator=(MenuSetting const& other) {
    operator=(static_cast<Setting const&>(other));
    return *this;
}

MenuSetting* MenuSetting::clone() const {
    return new MenuSetting(*this);
}

Setting& MenuSetting::operator=(Setting const& other) {
    if (&other == this) {
        return *this;
    }
    if (auto const* index = dynamic_cast<Int32Setting const*>(&other)) {
        Int32Setting::m_value = index->Int32Setting::getValue();
    }
    return Setting::operator=(other);
}

void MenuSetting::getValue(String& value) const {
    StringSetting::getValue(value);
}

void MenuSetting::getValue(double& value) const {
    Int32Setting::getValue(value);
}

void MenuSetting::getValue(int& value) const {
    Int32Setting::getValue(value);
}

void MenuSetting::getValue(Time& value) const {
    StringSetting::getValue(value);
}

void MenuSetting::getValue(long long& value) const {
    Int32Setting::getValue(value);
}

bool MenuSetting::isEqualTo(Setting const& other) const {
    return StringSetting::isEqualTo(other);
}

bool MenuSetting::isLessThan(Setting const& other) const {
    return StringSetting::isLessThan(other);
}

bool MenuSetting::isNull() const {
    return StringSetting::isNull();
}

int MenuSetting::getType() const {
    return int32Type;
}

void MenuSetting::setDefault() {
    StringSetting::setDefault();
    Int32Setting::setDefault();
}

void MenuSetting::setValue(String const& value) {
    StringSetting::setValue(value);
}

void MenuSetting::setValue(double value) {
    Int32Setting::setValue(value);
}

void MenuSetting::setValue(int const& value) {
    Int32Setting::setValue(value);
}

void MenuSetting::setValue(Time const& value) {
    StringSetting::setValue(value);
}

void MenuSetting::setValue(long long const& value) {
    Int32Setting::setValue(value);
}

} // namespace zelvane
