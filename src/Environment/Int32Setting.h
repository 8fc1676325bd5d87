// A signed 32-bit setting, written in the user's integer format.
#pragma once

#include "Environment/ValueSetting.h"

namespace zelvane {

class Int32Setting : public ValueSetting<Int32Setting, int> {
public:
    Int32Setting() = default;
    explicit Int32Setting(int value) : ValueSetting(value) {}
    Int32Setting(Int32Setting const&) = default;
    Int32Setting& operator=(Int32Setting const& other);
    using ValueSetting::operator=;

    using Setting::getValue;
    using Setting::setValue;
    Int32Setting* clone() const override;
    void getValue(String& value) const override;
    void getValue(double& value) const override;
    void getValue(int& value) const override;
    // The value as seconds since 1970.
    void getValue(Time& value) const override;
    void getValue(long long& value) const override;
    bool isNull() const override;
    int getType() const override;
    void setDefault() override;
    void setValue(String const& value) override;
    // Truncated toward zero.
    void setValue(double value) override;
    void setValue(int const& value) override;
    void setValue(Time const& value) override;
    // The low 32 bits.
    void setValue(long long const& value) override;

    int getValue() const { return m_value; }
};

} // namespace zelvane
